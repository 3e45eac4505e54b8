// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfConverter.h"

#include "ConverterContext.h"
#include "PdfRunJudge.h"

#include <new>

CPdfConverter::CPdfConverter(std::shared_ptr<const CConverterContext> context)
    : CConverter(std::move(context))
{
}

CPdfConverter::CPdfConverter(const std::string& path,
                             std::shared_ptr<const CConverterContext> context,
                             const std::string& textFolder)
    : CConverter(path, std::move(context), textFolder)
{
}

std::unique_ptr<CConverter> CPdfConverter::Create(const std::string& path,
                                                  const std::string& textFolder) const
{
    return std::unique_ptr<CConverter>(new (std::nothrow)
                                           CPdfConverter(path, SharedContext(), textFolder));
}

bool CPdfConverter::Accepts(const std::string& path) const
{
    std::string ext = Context().PathRules().Split(path).strExt;
    return !ext.empty() && CPathRules::CompareNoCase(ext.substr(1), "pdf") == 0;
}

void CPdfConverter::AddExtensions(std::list<std::string>& extensions) const
{
    extensions.push_back("pdf");
}

std::optional<CFileOutcome> CPdfConverter::PrepareConversion(COverwriteQuestion& overwrite)
{
    if (std::optional<CFileOutcome> unavailable = CheckFileAvailable(m_strSourcePath))
        return unavailable;
    return CheckTextFileOverwrite(m_strTextPath, overwrite);
}

CConversionRun CPdfConverter::RunConversion(const CRunRequest& request) const
{
    return CPdfTextRun(Context(), m_strSourcePath, m_strTextPath, m_ocrProgress).Run(request);
}

std::optional<CMessageCall> CPdfConverter::Activity() const
{
    int pages = m_ocrProgress.nPages;
    if (pages == 0)
        return std::nullopt;
    return CMessageCall{EMessageId::OcrActivity, {m_ocrProgress.nPage.load(), pages}};
}

CFileOutcome CPdfConverter::FinishConversion(const CConversionRun& run)
{
    CFileOutcome outcome = Outcome();
    CPdfRunJudge(m_strSourcePath, m_strSourceName, m_strTextPath, Context().ToolName())
        .Judge(run, outcome);
    return outcome;
}

// A failed run left the text file as it was, so there is nothing to undo.
bool CPdfConverter::FinishQuietly(const CConversionRun& run)
{
    return run.Succeeded();
}
