// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfTextRun.h"

#include "ConversionOptions.h"
#include "ConverterContext.h"
#include "OcrReader.h"
#include "PageHealthCheck.h"
#include "WorkerPool.h"
#include "platform/FileProbe.h"
#include "platform/ReplacementFile.h"

#include <algorithm>
#include <chrono>
#include <iterator>

namespace
{
// How much of the text file decides whether any text came out.
constexpr std::size_t kBlankCheckBytes = 30;
} // namespace

CPdfTextRun::CPdfTextRun(const CConverterContext& context, std::string_view sourcePath,
                         std::string_view textPath, COcrProgress& progress)
    : m_context(context), m_strSourcePath(sourcePath), m_strTextPath(textPath), m_progress(progress)
{
}

// The tool writes the text on its standard output, in the operation's form,
// which goes to a replacement of the text file; only a run that succeeded,
// with OCR done when it is on, puts it in the text file's place. Until then,
// and for good after any failure, the text file stays as it was.
CConversionRun CPdfTextRun::Run(const CRunRequest& request) const
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
    if (run.ToolSucceeded())
    {
        run.nTextError = text.Commit();
        run.bTextWritten = run.nTextError == 0;
    }
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

// With OCR on, the text is kept whole until OCR has put its pages in, which
// it finds by their form feeds; so does the check for garbage, a page at a
// time. Either keeps the form feeds, which leave afterwards when the form
// has none.
void CPdfTextRun::WriteText(CConversionRun& run, const CRunRequest& request,
                            CReplacementFile& text) const
{
    const COcrOptions& ocr = request.options.ocr;
    const CTextForm& form = request.options.form;
    const bool check = request.options.bGarbledCheck;
    const bool keepPageBreaks = ocr.IsOn() || check;
    run.bOcrMissing = ocr.bWanted && !ocr.bAvailable;
    std::string whole;
    CPageHealthCheck health;
    CChildRequest tool = ToolRequest(request, keepPageBreaks);
    tool.onOutput = [&](const char* bytes, std::size_t count)
    {
        if (run.strTextStart.size() < kBlankCheckBytes)
            run.strTextStart.append(bytes,
                                    std::min(count, kBlankCheckBytes - run.strTextStart.size()));
        if (check)
            health.Feed({bytes, count});
        if (ocr.IsOn())
        {
            whole.append(bytes, count);
            return 0;
        }
        if (keepPageBreaks && !form.bPageBreaks)
            return WriteWithoutPageBreaks(text, {bytes, count});
        return text.Write(bytes, count);
    };
    CWorkerPool* workers = m_context.Workers();
    if (workers && request.options.eEngine == CConversionOptions::EEngine::Workers)
        run.result =
            workers->Run(tool, request.passwords, run.bByWorker, run.eLock, &run.unmappedFontPages);
    else
        run.result = CChildProcess::Run(tool);
    if (run.result.eFailure == CChildResult::EFailure::Write)
        run.nTextError = run.result.nErrorCode;
    if (!run.ToolSucceeded())
        return;
    if (check)
    {
        health.Finish();
        run.garbledPages = health.GarbledPages(run.unmappedFontPages);
    }
    if (!ocr.IsOn())
        return;
    // OCR's tools would need the password on their command lines, which
    // every user of the machine can read: a locked PDF keeps the text the
    // worker made.
    if (run.eLock != EPdfLock::Unlocked)
        ReadScannedPages(run, request, whole);
    form.RemovePageBreaks(whole);
    if (run.ToolSucceeded())
        run.nTextError = text.Write(whole.data(), whole.size());
}

CChildRequest CPdfTextRun::ToolRequest(const CRunRequest& request, bool keepPageBreaks) const
{
    CChildRequest tool;
    tool.arguments = {m_context.ToolName()};
    for (std::string& option : request.options.form.ToolOptions(keepPageBreaks))
        tool.arguments.push_back(std::move(option));
    tool.arguments.insert(tool.arguments.end(), {ToolArgument(m_strSourcePath), "-"});
    tool.workingFolder = m_context.ProgramFolder();
    tool.cancel = &request.cancel;
    tool.nTimeLimitSeconds = request.options.nTimeLimitSeconds;
    return tool;
}

int CPdfTextRun::WriteWithoutPageBreaks(CReplacementFile& text, std::string_view bytes)
{
    while (!bytes.empty())
    {
        std::size_t end = std::min(bytes.find('\f'), bytes.size());
        if (int error = end > 0 ? text.Write(bytes.data(), end) : 0)
            return error;
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
    }
    return 0;
}

// Recognized text takes the place of blank pages, and of pages whose text
// failed the check for garbage, only when every page could be read; a
// cancel or a time-out ends the whole run.
void CPdfTextRun::ReadScannedPages(CConversionRun& run, const CRunRequest& request,
                                   std::string& text) const
{
    COcrReader reader(request.options.ocr, m_context.ProgramFolder(), request.cancel,
                      [this, &request](int page, int pages)
                      {
                          m_progress.nPage = page;
                          m_progress.nPages = pages;
                          if (request.onActivityChanged)
                              request.onActivityChanged();
                      });
    reader.LimitTime(request.options.nTimeLimitSeconds);
    std::string recognized = text;
    run.ocr = reader.ReadPages(ToolArgument(m_strSourcePath), recognized, run.garbledPages);
    m_progress.nPages = 0;
    run.result.bCancelled = run.ocr.bCancelled;
    run.result.bTimedOut = run.ocr.bTimedOut;
    if (run.ocr.bFailed || run.ocr.nPagesRead + run.ocr.mendedPages.size() == 0)
        return;
    text = request.options.form.WithLineEnds(recognized);
    run.strTextStart = text.substr(0, kBlankCheckBytes);
    std::vector<int> left;
    std::set_difference(run.garbledPages.begin(), run.garbledPages.end(),
                        run.ocr.mendedPages.begin(), run.ocr.mendedPages.end(),
                        std::back_inserter(left));
    run.garbledPages = std::move(left);
}

// The tool runs in the program's folder, so a relative path is made absolute
// against ours. That also keeps a name that begins with '-' from being read
// as an option.
std::string CPdfTextRun::ToolArgument(std::string_view path)
{
    std::string absolute = CFileProbe::AbsolutePath(std::string(path));
    if (!absolute.empty() && absolute.front() == '-')
        return "./" + absolute;
    return absolute;
}
