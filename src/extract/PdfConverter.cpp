// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfConverter.h"

#include "ConversionOptions.h"
#include "ConverterContext.h"
#include "ExtractionReport.h"
#include "OcrReader.h"
#include "WorkerPool.h"
#include "platform/FileProbe.h"
#include "platform/MessageBox.h"
#include "platform/MessageTable.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <chrono>
#include <new>

namespace
{
// How much of the text file decides whether any text came out.
constexpr std::size_t kBlankCheckBytes = 30;

// The tool's exit statuses that have a meaning of their own.
constexpr int kToolCannotOpenPdf = 1;
constexpr int kToolCannotOpenText = 2;
constexpr int kToolPermissionError = 3;

bool IsBlankByte(char ch)
{
    return ch == '\n' || ch == '\f' || ch == '\r';
}

} // namespace

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

// The tool writes the text on its standard output, in the operation's form,
// which goes to a replacement of the text file; only a run that succeeded,
// with OCR done when it is on, puts it in the text file's place. Until then,
// and for good after any failure, the text file stays as it was.
CConversionRun CPdfConverter::RunConversion(const CRunRequest& request) const
{
    auto start = std::chrono::steady_clock::now();
    CConversionRun run;
    run.nTimeLimitSeconds = request.options.nTimeLimitSeconds;
    CReplacementFile text{std::string(m_strTextPath)};
    run.nTextError = text.Open();
    if (run.nTextError == 0 && request.options.form.bByteOrderMark)
        run.nTextError = text.Write(CTextForm::kByteOrderMark, 3);
    if (run.nTextError == 0)
        WriteText(run, request, text);
    if (ToolSucceeded(run))
    {
        run.nTextError = text.Commit();
        run.bTextWritten = run.nTextError == 0;
    }
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

// With OCR on, the text is kept whole until OCR has put its pages in, which
// it finds by their form feeds.
void CPdfConverter::WriteText(CConversionRun& run, const CRunRequest& request,
                              CReplacementFile& text) const
{
    const COcrOptions& ocr = request.options.ocr;
    const CTextForm& form = request.options.form;
    run.bOcrMissing = ocr.bWanted && !ocr.bAvailable;
    std::string whole;
    CChildRequest tool;
    tool.arguments = {Context().ToolName()};
    for (std::string& option : form.ToolOptions(ocr.IsOn()))
        tool.arguments.push_back(std::move(option));
    tool.arguments.insert(tool.arguments.end(), {ToolArgument(m_strSourcePath), "-"});
    tool.workingFolder = Context().ProgramFolder();
    tool.cancel = &request.cancel;
    tool.nTimeLimitSeconds = request.options.nTimeLimitSeconds;
    tool.onOutput = [&](const char* bytes, std::size_t count)
    {
        if (run.strTextStart.size() < kBlankCheckBytes)
            run.strTextStart.append(bytes,
                                    std::min(count, kBlankCheckBytes - run.strTextStart.size()));
        if (ocr.IsOn())
        {
            whole.append(bytes, count);
            return 0;
        }
        return text.Write(bytes, count);
    };
    CWorkerPool* workers = Context().Workers();
    if (workers && request.options.eEngine == CConversionOptions::EEngine::Workers)
        run.result = workers->Run(tool, &run.bByWorker);
    else
        run.result = CChildProcess::Run(tool);
    if (run.result.eFailure == CChildResult::EFailure::Write)
        run.nTextError = run.result.nErrorCode;
    if (!ocr.IsOn() || !ToolSucceeded(run))
        return;
    ReadScannedPages(run, request, whole);
    form.RemovePageBreaks(whole);
    if (ToolSucceeded(run))
        run.nTextError = text.Write(whole.data(), whole.size());
}

// Recognized text takes the place of blank pages only when every page
// could be read; a cancel or a time-out ends the whole run.
void CPdfConverter::ReadScannedPages(CConversionRun& run, const CRunRequest& request,
                                     std::string& text) const
{
    COcrReader reader(request.options.ocr, Context().ProgramFolder(), request.cancel,
                      [this, &request](int page, int pages)
                      {
                          m_nOcrPage = page;
                          m_nOcrPages = pages;
                          if (request.onActivityChanged)
                              request.onActivityChanged();
                      });
    reader.LimitTime(request.options.nTimeLimitSeconds);
    std::string recognized = text;
    run.ocr = reader.ReadBlankPages(ToolArgument(m_strSourcePath), recognized);
    m_nOcrPages = 0;
    run.result.bCancelled = run.ocr.bCancelled;
    run.result.bTimedOut = run.ocr.bTimedOut;
    if (!run.ocr.bFailed && run.ocr.nPagesRead > 0)
    {
        text = request.options.form.WithLineEnds(recognized);
        run.strTextStart = text.substr(0, kBlankCheckBytes);
    }
}

std::string CPdfConverter::Activity() const
{
    int pages = m_nOcrPages;
    if (pages == 0)
        return {};
    return CMessageTable::Format(EMessageId::OcrActivity, {m_nOcrPage.load(), pages});
}

CFileOutcome CPdfConverter::FinishConversion(const CConversionRun& run)
{
    CFileOutcome outcome = Outcome();
    outcome.bRan = true;
    outcome.nExitStatus = run.result.nExitStatus;
    outcome.nSignal = run.result.nSignal;
    outcome.dSeconds = run.dSeconds;
    if (JudgeToolRun(run, outcome))
        TellOcrResult(run, outcome);
    else
        outcome.bListed = false;
    return outcome;
}

// The tool runs in the program's folder, so a relative path is made absolute
// against ours. That also keeps a name that begins with '-' from being read
// as an option.
std::string CPdfConverter::ToolArgument(std::string_view path) const
{
    std::string absolute = CFileProbe::AbsolutePath(std::string(path));
    if (!absolute.empty() && absolute.front() == '-')
        return "./" + absolute;
    return absolute;
}

bool CPdfConverter::JudgeToolRun(const CConversionRun& conversion, CFileOutcome& outcome) const
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
        outcome.Tell(CMessageBox(EMessageStyle::Error, EMessageId::TimedOut,
                                 {m_strSourcePath, conversion.nTimeLimitSeconds})
                         .About(m_strSourcePath, EFileOutcome::TimedOut));
        return false;
    }
    if (conversion.nTextError != 0)
    {
        outcome.Tell(TextNotWrittenMessage(conversion.nTextError));
        return false;
    }
    switch (run.eFailure)
    {
    case CChildResult::EFailure::None:
    case CChildResult::EFailure::Write:
        break;
    case CChildResult::EFailure::Start:
    {
        CMessageBox lead(EMessageStyle::Information, EMessageId::ToolNotRun,
                         {m_strSourcePath, Context().ToolName()});
        outcome.Tell(SystemErrorMessage(run.nErrorCode, &lead));
        return false;
    }
    case CChildResult::EFailure::Pipe:
    case CChildResult::EFailure::Read:
        outcome.Tell(SystemErrorMessage(run.nErrorCode));
        return false;
    }

    CExtractionReport report(run.strErrorOutput);
    outcome.strToolReport = report.Cut();
    if (!RunSucceeded(conversion))
    {
        std::string reported =
            report.IsEmpty() ? HowTheToolEnded(run, conversion.bByWorker ? CWorkerPool::kWorkerName
                                                                         : Context().ToolName())
                             : report.ForDisplay();
        outcome.Tell(CMessageBox(EMessageStyle::Error, EMessageId::ExtractionFailed,
                                 {m_strSourcePath, reported})
                         .Details(report.Cut())
                         .About(m_strSourcePath, EFileOutcome::Failed));
        return false;
    }
    if (!report.IsEmpty())
    {
        outcome.Tell(CMessageBox(EMessageStyle::Warning, EMessageId::ExtractionWarning,
                                 {m_strSourcePath, report.ForDisplay()})
                         .Details(report.Cut())
                         .About(m_strSourcePath, EFileOutcome::Warning));
    }
    return true;
}

std::string CPdfConverter::HowTheToolEnded(const CChildResult& run, const std::string& tool)
{
    if (run.nSignal != 0)
        return CMessageTable::Format(
            EMessageId::ToolEndedBySignal,
            {tool, run.nSignal, CSystemErrorText::DescribeSignal(run.nSignal)});
    if (run.nExitStatus == 0)
        return CMessageTable::Format(EMessageId::ToolWroteNoText, {tool});
    std::string meaning;
    switch (run.nExitStatus)
    {
    case kToolCannotOpenPdf:
        meaning = CMessageTable::Format(EMessageId::ToolStatusPdfNotOpened);
        break;
    case kToolCannotOpenText:
        meaning = CMessageTable::Format(EMessageId::ToolStatusTextNotOpened);
        break;
    case kToolPermissionError:
        meaning = CMessageTable::Format(EMessageId::ToolStatusPermissions);
        break;
    }
    return CMessageTable::Format(EMessageId::ToolEndedWithStatus, {tool, run.nExitStatus, meaning});
}

// Pages OCR could not read are told about whether or not the rest of the
// file has text; a file of which OCR read something is told about so.
void CPdfConverter::TellOcrResult(const CConversionRun& run, CFileOutcome& outcome) const
{
    const COcrRun& ocr = run.ocr;
    if (ocr.bFailed)
    {
        CExtractionReport report(ocr.failure.strErrorOutput);
        std::string reported = report.IsEmpty() ? HowTheToolEnded(ocr.failure, ocr.strFailedTool)
                                                : report.ForDisplay();
        // The text file keeps pdftotext's text when OCR fails.
        bool blank = ocr.nBlankPages == ocr.nPages;
        CMessageBox box(blank ? EMessageStyle::Information : EMessageStyle::Warning,
                        blank ? EMessageId::OcrFailedNoText : EMessageId::OcrFailedSomePages,
                        {m_strSourcePath, reported});
        outcome.Tell(
            box.Details(report.Cut())
                .About(m_strSourcePath, blank ? EFileOutcome::NoText : EFileOutcome::Warning));
        return;
    }
    if (ocr.nPagesRead > 0)
    {
        outcome.Tell(CMessageBox(EMessageStyle::Information, EMessageId::ReadByOcr,
                                 {m_strSourcePath, ocr.nPagesRead, ocr.nBlankPages})
                         .About(m_strSourcePath, EFileOutcome::ReadByOcr));
        return;
    }
    CheckBlankResult(run, outcome);
}

void CPdfConverter::CheckBlankResult(const CConversionRun& run, CFileOutcome& outcome) const
{
    for (char ch : run.strTextStart)
    {
        if (!IsBlankByte(ch))
            return;
    }
    outcome.bOcrMissing = run.bOcrMissing;
    outcome.Tell(
        CMessageBox(EMessageStyle::Information, EMessageId::NoTextExtracted, {m_strSourceName})
            .About(m_strSourcePath, EFileOutcome::NoText));
}

CMessageBox CPdfConverter::SystemErrorMessage(int errorCode, const CMessageBox* lead) const
{
    std::string systemText = CSystemErrorText::Describe(errorCode);
    CMessageBox box = lead ? *lead
                           : CMessageBox(EMessageStyle::Information, EMessageId::SystemError,
                                         {"", m_strSourceName, systemText, errorCode});
    if (lead)
        box.Then(EMessageId::SystemError, {"", m_strSourceName, systemText, errorCode});
    box.About(m_strSourcePath, EFileOutcome::Failed);
    return box;
}

// A failed run left the text file as it was, so there is nothing to undo.
bool CPdfConverter::FinishQuietly(const CConversionRun& conversion)
{
    return RunSucceeded(conversion);
}

// The exit status is the tool's own word on success; what it reports beside
// it are often warnings it survived, whatever their wording.
bool CPdfConverter::ToolSucceeded(const CConversionRun& conversion)
{
    const CChildResult& run = conversion.result;
    return !run.bCancelled && !run.bTimedOut && run.eFailure == CChildResult::EFailure::None &&
           run.nExitStatus == 0 && conversion.nTextError == 0;
}

// A run succeeded when its tool did and its text took the text file's place.
bool CPdfConverter::RunSucceeded(const CConversionRun& conversion)
{
    return ToolSucceeded(conversion) && conversion.bTextWritten;
}

CMessageBox CPdfConverter::TextNotWrittenMessage(int errorCode) const
{
    CReplacementFile text{std::string(m_strTextPath)};
    return CMessageBox(
               EMessageStyle::Error, EMessageId::TextNotWritten,
               {m_strSourcePath, text.Folder(), CSystemErrorText::Describe(errorCode), errorCode})
        .About(m_strSourcePath, EFileOutcome::Failed);
}
