// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConverterTable.h"

#include "ConverterContext.h"

CConverterTable::CConverterTable(std::shared_ptr<CConverterContext> context)
    : m_pContext(std::move(context)), m_pdfConverter(m_pContext), m_converters{&m_pdfConverter}
{
}

std::unique_ptr<CConverter> CConverterTable::FindConverter(const std::string& path,
                                                           const std::string& textFolder) const
{
    for (const CConverter* converter : m_converters)
    {
        if (converter->Accepts(path))
            return converter->Create(path, textFolder);
    }
    return nullptr;
}

void CConverterTable::GetExtensions(std::list<std::string>& extensions) const
{
    extensions.clear();
    m_converters[0]->AddExtensions(extensions);
}
