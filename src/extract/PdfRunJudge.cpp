// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfRunJudge.h"

#include "ConversionRun.h"
#include "ExtractionReport.h"
#include "TextHealth.h"
#include "WorkerPool.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemErrorText.h"

namespace
{
bool IsBlankByte(char ch)
{
    return ch == '\n' || ch == '\f' || ch == '\r';
}
} // namespace

CPdfRunJudge::CPdfRunJudge(std::string_view sourcePath, std::string_view sourceName,
                           std::string_view textPath, std::string_view toolName)
    : m_strSourcePath(sourcePath), m_strSourceName(sourceName), m_strTextPath(textPath),
      m_strToolName(toolName)
{
}

void CPdfRunJudge::Judge(const CConversionRun& run, CFileOutcome& outcome) const
{
    outcome.run =
        CRunFacts{run.result.nExitStatus, run.result.nSignal, run.dSeconds, run.bByWorker};
    if (JudgeToolRun(run, outcome))
    {
        JudgeOcr(run, outcome);
        JudgeGarbledPages(run, outcome);
    }
    else
        outcome.bListed = false;
}

bool CPdfRunJudge::JudgeToolRun(const CConversionRun& conversion, CFileOutcome& outcome) const
{
    const CChildResult& run = conversion.result;
    if (run.bCancelled)
    {
        // Dropped without a word: the person asked for it.
        outcome.eKind = EFileOutcome::None;
        return false;
    }
    if (run.bTimedOut)
    {
        outcome.Add(CReason(EFileOutcome::TimedOut, m_strSourcePath, EMessageId::TimedOut,
                            {m_strSourcePath, conversion.nTimeLimitSeconds}));
        return false;
    }
    if (conversion.nTextError != 0)
    {
        outcome.Add(TextNotWritten(conversion.nTextError));
        return false;
    }
    switch (run.eFailure)
    {
    case CChildResult::EFailure::None:
    case CChildResult::EFailure::Write:
        break;
    case CChildResult::EFailure::Start:
    {
        CReason lead(EFileOutcome::Failed, m_strSourcePath, EMessageId::ToolNotRun,
                     {m_strSourcePath, m_strToolName});
        CReason error = SystemError(run.nErrorCode);
        lead.messages.push_back(std::move(error.messages.front()));
        outcome.Add(std::move(lead));
        return false;
    }
    case CChildResult::EFailure::Pipe:
    case CChildResult::EFailure::Read:
        outcome.Add(SystemError(run.nErrorCode));
        return false;
    }

    CExtractionReport report(run.strErrorOutput);
    std::string tool(conversion.bByWorker ? CWorkerPool::kWorkerName : m_strToolName);
    if (std::optional<CReason> locked = Locked(conversion, report))
    {
        outcome.Add(std::move(*locked));
        return false;
    }
    if (!conversion.Succeeded())
    {
        outcome.Add(CReason(EFileOutcome::Failed, m_strSourcePath, EMessageId::ExtractionFailed,
                            {m_strSourcePath})
                        .Reported(report.Cut(), EndingOf(run, tool)));
        return false;
    }
    if (!report.IsEmpty())
    {
        outcome.Add(CReason(EFileOutcome::Warning, m_strSourcePath, EMessageId::ExtractionWarning,
                            {m_strSourcePath})
                        .Reported(report.Cut(), EndingOf(run, tool)));
    }
    return true;
}

// pdftotext is never given a password, as every user of the machine could
// read it on its command line: a locked PDF it could not open says so, and
// that the workers open locked files.
std::optional<CReason> CPdfRunJudge::Locked(const CConversionRun& run,
                                            const CExtractionReport& report) const
{
    auto reason = [this](EFileOutcome kind, EMessageId id)
    { return CReason(kind, m_strSourcePath, id, {m_strSourcePath}); };
    switch (run.eLock)
    {
    case EPdfLock::NeedsPassword:
        return reason(EFileOutcome::NeedsPassword, EMessageId::PdfNeedsPassword);
    case EPdfLock::WrongPassword:
        return reason(EFileOutcome::WrongPassword, EMessageId::PdfWrongPassword);
    case EPdfLock::Open:
    case EPdfLock::Unlocked:
        break;
    }
    constexpr int kCannotOpenPdf = 1;
    if (!run.bByWorker && run.result.nExitStatus == kCannotOpenPdf && report.RefusesPassword())
        return reason(EFileOutcome::NeedsPassword, EMessageId::PdfLockedNeedsWorkers);
    return std::nullopt;
}

CToolEnding CPdfRunJudge::EndingOf(const CChildResult& result, const std::string& tool)
{
    return {tool, result.nExitStatus, result.nSignal};
}

// Pages OCR could not read are told about whether or not the rest of the
// file has text; a file of which OCR read something is told about so.
void CPdfRunJudge::JudgeOcr(const CConversionRun& run, CFileOutcome& outcome) const
{
    const COcrRun& ocr = run.ocr;
    if (ocr.bFailed)
    {
        CExtractionReport report(ocr.failure.strErrorOutput);
        // The text file keeps pdftotext's text when OCR fails.
        bool blank = ocr.nBlankPages == ocr.nPages;
        outcome.Add(CReason(blank ? EFileOutcome::NoText : EFileOutcome::Warning, m_strSourcePath,
                            blank ? EMessageId::OcrFailedNoText : EMessageId::OcrFailedSomePages,
                            {m_strSourcePath})
                        .Reported(report.Cut(), EndingOf(ocr.failure, ocr.strFailedTool)));
        return;
    }
    if (ocr.nPagesRead > 0)
    {
        outcome.Add(CReason(EFileOutcome::ReadByOcr, m_strSourcePath, EMessageId::ReadByOcr,
                            {m_strSourcePath, ocr.nPagesRead, ocr.nBlankPages}));
        return;
    }
    CheckBlankResult(run, outcome);
}

// The text is written whatever the check found, as part of it may be right:
// garbled pages are a warning, told after all else, so they settle the kind.
void CPdfRunJudge::JudgeGarbledPages(const CConversionRun& run, CFileOutcome& outcome) const
{
    if (!run.ocr.mendedPages.empty())
    {
        outcome.Add(CReason(EFileOutcome::ReadByOcr, m_strSourcePath, EMessageId::GarbledReadByOcr,
                            {m_strSourcePath, CTextHealth::PageRanges(run.ocr.mendedPages)}));
    }
    if (!run.garbledPages.empty())
    {
        outcome.Add(CReason(EFileOutcome::Garbled, m_strSourcePath, EMessageId::GarbledText,
                            {m_strSourcePath, CTextHealth::PageRanges(run.garbledPages)}));
    }
}

void CPdfRunJudge::CheckBlankResult(const CConversionRun& run, CFileOutcome& outcome) const
{
    for (char ch : run.strTextStart)
    {
        if (!IsBlankByte(ch))
            return;
    }
    outcome.bOcrMissing = run.bOcrMissing;
    outcome.Add(CReason(EFileOutcome::NoText, m_strSourcePath, EMessageId::NoTextExtracted,
                        {m_strSourceName}));
}

CReason CPdfRunJudge::SystemError(int errorCode) const
{
    return CReason(EFileOutcome::Failed, m_strSourcePath, EMessageId::SystemError,
                   {"", m_strSourceName, CSystemErrorText::Describe(errorCode), errorCode});
}

CReason CPdfRunJudge::TextNotWritten(int errorCode) const
{
    CReplacementFile text{std::string(m_strTextPath)};
    return CReason(
        EFileOutcome::Failed, m_strSourcePath, EMessageId::TextNotWritten,
        {m_strSourcePath, text.Folder(), CSystemErrorText::Describe(errorCode), errorCode});
}
