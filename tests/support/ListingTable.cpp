// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListingTable.h"

#include "extract/ConverterContext.h"

namespace
{
// A PDF converter whose every step succeeds without doing anything.
class CListedAsIs : public CPdfConverter
{
public:
    using CPdfConverter::CPdfConverter;

    std::optional<CFileOutcome> PrepareConversion(COverwriteQuestion&) override
    {
        return std::nullopt;
    }
    CConversionRun RunConversion(const CRunRequest&) const override { return {}; }
    CFileOutcome FinishConversion(const CConversionRun&) override { return Outcome(); }
    bool FinishQuietly(const CConversionRun&) override { return true; }
};
} // namespace

CListingTable::CListingTable(std::shared_ptr<CConverterContext> context)
    : CConverterTable(context), m_pContext(std::move(context))
{
}

std::unique_ptr<CConverter> CListingTable::FindConverter(const std::string& path,
                                                         const std::string& textFolder) const
{
    std::unique_ptr<CConverter> converter = CConverterTable::FindConverter(path, textFolder);
    if (!converter || !m_bListOnly)
        return converter;
    return std::make_unique<CListedAsIs>(path, m_pContext, textFolder);
}
