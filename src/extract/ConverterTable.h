// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PdfConverter.h"

#include <array>
#include <list>
#include <memory>
#include <string>

class CConverterContext;

// The kinds of file the program converts: one prototype of each kind, asked
// in order whether it handles a path.
class CConverterTable
{
public:
    explicit CConverterTable(std::shared_ptr<CConverterContext> context);
    virtual ~CConverterTable() = default;

    CConverterTable(const CConverterTable&) = delete;
    CConverterTable& operator=(const CConverterTable&) = delete;

    // A new converter for the path from the first kind that accepts it, or
    // null when no kind does. Virtual so that tests can list files without
    // running a tool for each.
    virtual std::unique_ptr<CConverter> FindConverter(const std::string& path,
                                                      const std::string& textFolder = {}) const;

    // Replaces the list's contents with the extensions offered for adding.
    void GetExtensions(std::list<std::string>& extensions) const;

    CConverterContext& Context() { return *m_pContext; }
    const CConverterContext& Context() const { return *m_pContext; }

private:
    std::shared_ptr<CConverterContext> m_pContext;
    CPdfConverter m_pdfConverter;
    std::array<const CConverter*, 1> m_converters;
};
