// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocRows.h"

#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"

std::vector<std::string> CDocRows::Sources(const CZeltoDoc& doc)
{
    std::vector<std::string> sources;
    for (int row = 0; row < doc.RowCount(); ++row)
        sources.emplace_back(doc.ConverterAt(row)->m_strSourcePath);
    return sources;
}

std::vector<std::string> CDocRows::Texts(const CZeltoDoc& doc)
{
    std::vector<std::string> texts;
    for (int row = 0; row < doc.RowCount(); ++row)
        texts.emplace_back(doc.ConverterAt(row)->m_strTextPath);
    return texts;
}

int CDocRows::RowOf(const CZeltoDoc& doc, const CConverter* converter)
{
    for (int row = 0; row < doc.RowCount(); ++row)
    {
        if (doc.ConverterAt(row) == converter)
            return row;
    }
    return -1;
}

const CConverter* CDocRows::BySource(const CZeltoDoc& doc, const std::string& source)
{
    for (int row = 0; row < doc.RowCount(); ++row)
    {
        if (doc.ConverterAt(row)->m_strSourcePath == source)
            return doc.ConverterAt(row);
    }
    return nullptr;
}
