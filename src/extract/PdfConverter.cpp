#include "PdfConverter.h"

#include "ConversionOptions.h"
#include "ConverterContext.h"
#include "ExtractionReport.h"
#include "OcrReader.h"
#include "platform/FileProbe.h"
#include "platform/MessageBox.h"
#include "platform/MessageTable.h"
#include "platform/SystemErrorText.h"

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
                             std::shared_ptr<const CConverterContext> context)
    : CConverter(path, std::move(context))
{
}

std::unique_ptr<CConverter> CPdfConverter::Create(const std::string& path) const
{
    return std::unique_ptr<CConverter>(new (std::nothrow) CPdfConverter(path, SharedContext()));
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
    auto start = std::chrono::steady_clock::now();
    CConversionRun run;
    run.textBefore = CFileProbe::Stamp(std::string(m_strTextPath));
    run.result = CChildProcess::Run({Context().ToolName(), "-layout", ToolArgument(m_strSourcePath),
                                     ToolArgument(m_strTextPath)},
                                    Context().ProgramFolder(), &request.cancel);
    const COcrOptions& ocr = request.options.ocr;
    run.bOcrMissing = ocr.bWanted && !ocr.bAvailable;
    if (ocr.IsOn() && RunSucceeded(run))
        ReadScannedPages(run, request);
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

// The recognized text replaces the text file only when every page could be
// read; a cancel leaves the run cancelled, so that what it wrote goes.
void CPdfConverter::ReadScannedPages(CConversionRun& run, const CRunRequest& request) const
{
    std::string text;
    if (!COcrReader::ReadWhole(std::string(m_strTextPath), text))
        return;
    COcrReader reader(request.options.ocr, Context().ProgramFolder(), request.cancel,
                      [this, &request](int page, int pages)
                      {
                          m_nOcrPage = page;
                          m_nOcrPages = pages;
                          if (request.onActivityChanged)
                              request.onActivityChanged();
                      });
    run.ocr = reader.ReadBlankPages(ToolArgument(m_strSourcePath), text);
    m_nOcrPages = 0;
    if (run.ocr.bCancelled)
    {
        run.result.bCancelled = true;
        return;
    }
    if (run.ocr.bFailed || run.ocr.nPagesRead == 0)
        return;
    if (int error = COcrReader::WriteWhole(std::string(m_strTextPath), text); error != 0)
    {
        run.result.eFailure = CChildResult::EFailure::Read;
        run.result.nErrorCode = error;
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
    outcome.nExitStatus = run.result.nExitStatus;
    outcome.nSignal = run.result.nSignal;
    outcome.dSeconds = run.dSeconds;
    if (JudgeToolRun(run, outcome))
        TellOcrResult(run, outcome);
    else
        outcome.bListed = false;
    return outcome;
}

void CPdfConverter::AbandonConversion(const CConversionRun& run)
{
    RemovePartialText(run);
}

void CPdfConverter::RemovePartialText(const CConversionRun& run) const
{
    // Only a file this run wrote to is removed; an untouched one stays.
    std::string textPath(m_strTextPath);
    if (CFileProbe::Stamp(textPath) != run.textBefore)
        CFileProbe::Remove(textPath);
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
        RemovePartialText(conversion);
        outcome.eKind = EFileOutcome::None;
        return false;
    }
    switch (run.eFailure)
    {
    case CChildResult::EFailure::None:
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
        // Whatever the failed run wrote is no text of the PDF.
        RemovePartialText(conversion);
        std::string reported =
            report.IsEmpty() ? HowTheToolEnded(run, Context().ToolName()) : report.ForDisplay();
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
    std::string start;
    if (!CFileProbe::ReadPrefix(std::string(m_strTextPath), kBlankCheckBytes, start))
        return;
    for (char ch : start)
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

// A run succeeded when it was not cancelled, started and was read without
// failure, ended with exit status 0 and left a text file.
bool CPdfConverter::FinishQuietly(const CConversionRun& conversion)
{
    if (RunSucceeded(conversion))
        return true;
    RemovePartialText(conversion);
    return false;
}

// The exit status is the tool's own word on success; what it reports beside
// it are often warnings it survived, whatever their wording.
bool CPdfConverter::RunSucceeded(const CConversionRun& conversion) const
{
    const CChildResult& run = conversion.result;
    return !run.bCancelled && run.eFailure == CChildResult::EFailure::None &&
           run.nExitStatus == 0 && CFileProbe::Exists(std::string(m_strTextPath));
}
