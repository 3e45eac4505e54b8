// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CConverter;
class CZeltoDoc;

// What tests read off the document's list, row by row.
class CDocRows
{
public:
    static std::vector<std::string> Sources(const CZeltoDoc& doc);
    static std::vector<std::string> Texts(const CZeltoDoc& doc);
    // The row of this very converter, or -1.
    static int RowOf(const CZeltoDoc& doc, const CConverter* converter);
    // The listed converter of this source path, or null.
    static const CConverter* BySource(const CZeltoDoc& doc, const std::string& source);
};
