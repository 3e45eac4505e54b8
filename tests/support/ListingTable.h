// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/ConverterTable.h"

#include <memory>
#include <string>

// A converter table for tests of the list itself. While listing without
// converting is on, every PDF it is asked about is listed as it is: no tool
// runs and nothing is checked or asked, so that thousands of rows can be
// added quickly through the document's own entry points. Off, it is the
// program's own table.
class CListingTable : public CConverterTable
{
public:
    explicit CListingTable(std::shared_ptr<CConverterContext> context);

    void ListWithoutConverting(bool on) { m_bListOnly = on; }

    std::unique_ptr<CConverter> FindConverter(const std::string& path,
                                              const std::string& textFolder = {}) const override;

private:
    std::shared_ptr<const CConverterContext> m_pContext;
    bool m_bListOnly = false;
};
