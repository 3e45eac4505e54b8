// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExtractRun.h"

#include "ExtractCommand.h"
#include "PathFeed.h"
#include "StopWatcher.h"
#include "doc/AddOperation.h"
#include "doc/CommandGuard.h"
#include "extract/ConverterContext.h"
#include "extract/WorkerPool.h"
#include "platform/FileProbe.h"
#include "platform/InterruptSignals.h"
#include "platform/MessageTable.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <vector>

namespace
{
// Conversions run on threads that leave requests to stop to the main
// thread, so that a read of the path list it is blocked in is cut short.
std::thread StartHoldingThread(std::function<void()> body)
{
    return std::thread(
        [body = std::move(body)]
        {
            CInterruptSignals::HoldInThisThread();
            body();
        });
}

std::optional<CFileCounter::CInputs> CounterInputs(const CExtractOptions& options,
                                                   const CAddSettings& settings, bool listFile)
{
    std::optional<std::string> list;
    if (listFile)
        list = options.fromFile;
    return CFileCounter::CInputs{options.paths, list, options.bNulSeparated, options.shard,
                                 settings.strTextFolder};
}
} // namespace

CExtractRun::CExtractRun(const CCommandStreams& streams, const CExtractOptions& options,
                         const CAddSettings& settings, CReportWriter& report, std::FILE* list)
    : m_streams(streams), m_options(options), m_settings(settings), m_pList(list),
      m_console(streams, streams.bErrorIsTerminal && !options.bQuiet),
      m_presenter(m_console, report, options.bQuiet),
      m_progress(
          m_console, [this] { return State(); }, streams.stopRequest),
      m_prompts(m_console, [this](std::string& line) { return ReadAnswer(line); }),
      m_table(std::make_shared<CConverterContext>())
{
    if (m_console.ShowsProgress() && !options.bWatch)
        m_counter.emplace(*CounterInputs(options, settings, list != nullptr));
    if (!streams.strWorkerProgram.empty())
        m_table.Context().SetWorkers(std::make_shared<CWorkerPool>(streams.strWorkerProgram));
}

std::string CExtractRun::FileError(EMessageId id, const std::string& path, int error)
{
    std::string reason = CSystemErrorText::Describe(error);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '.'))
        reason.pop_back();
    return CMessageTable::Format(EMessageId::CommandError,
                                 {CMessageTable::Format(id, {path, reason, error})});
}

int CExtractRun::Run()
{
    if (m_options.bWatch && !StartWatching())
        return CExtractCommand::kExitFailed;
    bool guarded = Convert();
    m_presenter.Tally().Stop();
    bool reportFailed = m_presenter.ReportError() != 0;
    if (reportFailed)
        m_console.Message(FileError(EMessageId::CommandReportNotWritten, m_options.reportPath,
                                    m_presenter.ReportError()));
    if (!m_options.bQuiet)
        m_console.Message(m_presenter.Tally().Summary());
    if (int signal = m_streams.stopRequest())
        return CInterruptSignals::ExitStatus(signal);
    bool failed = !guarded || reportFailed || m_bListFailed || m_presenter.AnyFailed();
    return failed ? CExtractCommand::kExitFailed : CExtractCommand::kExitDone;
}

// A watch reports each file as it settles and keeps no count of what is
// to come: a journal gets a line per file, a terminal the line of counts.
bool CExtractRun::StartWatching()
{
    CFolderWatcher::CSetup setup;
    setup.roots = m_options.paths;
    setup.strTextFolder = m_settings.strTextFolder;
    setup.settle = std::chrono::seconds(m_options.settleSeconds.value_or(2));
    setup.pollSeconds = m_options.pollSeconds;
    m_pWatcher = std::make_unique<CFolderWatcher>(
        std::move(setup),
        [this](const std::string& path) { return m_table.FindConverter(path) != nullptr; },
        [this](const std::string& text) { m_console.Message(text); });
    if (!m_pWatcher->Start())
        return false;
    // SIGHUP ends a command that does not watch, as it always did.
    if (m_streams.rereadRequest)
        CInterruptSignals::InstallReread();
    if (!m_streams.bErrorIsTerminal)
        m_presenter.LogEachFile();
    m_progress.OnChange([watcher = m_pWatcher.get()] { watcher->Wake(); });
    if (!m_options.bQuiet && !m_pWatcher->IsPolling())
        m_console.Message(CMessageTable::Format(
            EMessageId::CommandError,
            {CMessageTable::Format(EMessageId::WatchStarted,
                                   {static_cast<int>(m_pWatcher->FoldersWatched())})}));
    return true;
}

// The folder question is never asked: the command was given its folders to
// convert. Nothing is listed, so that memory does not grow with the files.
// A watch asked to read its settings again lets the files under way finish
// and goes on with a new operation under the new settings.
bool CExtractRun::Convert()
{
    EStandingFolderAnswer folderAnswer = EStandingFolderAnswer::YesToAll;
    std::string activePath;
    for (bool first = true;; first = false)
    {
        m_bRereadWanted = false;
        bool guarded = CCommandGuard(m_prompts, activePath)
                           .Run([&] { RunOperation(folderAnswer, activePath, first); },
                                [this]
                                {
                                    m_pRunning = nullptr;
                                    m_progress.EndConversions();
                                });
        if (!guarded || !m_bRereadWanted || m_streams.stopRequest())
            return guarded;
        Reread();
    }
}

void CExtractRun::RunOperation(EStandingFolderAnswer& folderAnswer, std::string& activePath,
                               bool first)
{
    CAddOperation operation(
        {m_table, m_prompts, m_progress, m_presenter, [](const std::string&) { return false; },
         [this](std::unique_ptr<CConverter>) { m_progress.Tick(); }, StartHoldingThread,
         [this](const std::string& path) { return InShare(path); }},
        m_settings, folderAnswer, activePath);
    m_pRunning = &operation;
    std::optional<CStopWatcher> stopWatcher;
    stopWatcher.emplace(m_streams.stopRequest, [&] { operation.Cancel(); });
    operation.Run(
        [&]
        {
            if (first)
            {
                m_bWalkingGiven = m_pWatcher != nullptr;
                AddListed(operation);
                m_bWalkingGiven = false;
            }
            if (m_pWatcher)
            {
                // The watch wakes on requests to stop itself, and looks for
                // none while nothing arrives.
                stopWatcher.reset();
                Watch(operation, first);
            }
        });
}

// A file that arrived while what was there is walked may be half written
// yet: the watch takes it once it settles.
bool CExtractRun::InShare(const std::string& path)
{
    const std::optional<CShard>& shard = m_options.shard;
    if (shard && !shard->Takes(path))
        return false;
    return !m_bWalkingGiven || m_pWatcher->IsSettledNow(path);
}

void CExtractRun::Watch(CAddOperation& operation, bool first)
{
    m_presenter.PassOverKept();
    if (first && m_streams.watching)
        m_streams.watching([watcher = m_pWatcher.get()] { watcher->Wake(); });
    std::vector<CFolderWatcher::CSettled> settled;
    for (;;)
    {
        if (m_streams.stopRequest())
        {
            operation.Cancel();
            return;
        }
        if (m_streams.rereadRequest && m_streams.rereadRequest())
        {
            m_bRereadWanted = true;
            return;
        }
        operation.JudgeFinished();
        settled.clear();
        m_pWatcher->Next(settled);
        for (const CFolderWatcher::CSettled& file : settled)
        {
            if (!operation.AddFoundIn(file.strPath, file.strRoot, RuleFor(file)))
                m_pWatcher->NoteAgain(file.strPath);
        }
        operation.JudgeFinished();
        m_progress.Tick();
    }
}

// A file that arrived or changed is converted even when its text seems as
// new as it is: times are compared with a margin for coarse file systems,
// and a PDF replaced soon after its text was written is still new.
EExistingText CExtractRun::RuleFor(const CFolderWatcher::CSettled& file) const
{
    if (!file.bChanged || m_options.existing)
        return m_settings.eExistingText;
    return EExistingText::Replace;
}

void CExtractRun::Reread()
{
    if (!m_reread)
        return;
    CAddSettings settings;
    if (m_reread(settings))
    {
        m_settings = settings;
        if (!m_options.bQuiet && m_options.settingsPath)
            m_console.Message(CMessageTable::Format(
                EMessageId::CommandError, {CMessageTable::Format(EMessageId::WatchSettingsReread,
                                                                 {*m_options.settingsPath})}));
    }
}

// The list is read as the run goes, so that a list of any length takes no
// memory of its own and a pipe's paths convert while it is still written.
void CExtractRun::AddListed(CAddOperation& operation)
{
    std::vector<std::string> there;
    for (const std::string& path : m_options.paths)
    {
        if (!TellIfMissing(path))
            there.push_back(path);
    }
    operation.AddPaths(there);
    if (!m_options.fromFile)
        return;
    CPathFeed feed(m_pList ? CPathFeed::FromFile(m_pList) : m_streams.readInput,
                   m_options.bNulSeparated);
    std::string path;
    while (feed.Next(path))
    {
        if (!TellIfMissing(path))
            operation.AddPath(path);
    }
    if (feed.Error() != 0 && !m_streams.stopRequest())
    {
        m_console.Message(
            FileError(EMessageId::CommandListNotRead, *m_options.fromFile, feed.Error()));
        m_bListFailed = true;
    }
}

bool CExtractRun::TellIfMissing(const std::string& path)
{
    if (!CFileProbe::IsGone(path))
        return false;
    m_presenter.Present(
        CFileOutcome::Dropped(path, CReason(EFileOutcome::CouldNotOpen, path,
                                            EMessageId::CommandPathMissing, {path})),
        true);
    return true;
}

// Every file is found once the count is done, unless paths come on the
// standard input, which cannot be counted ahead.
CProgressLine::CState CExtractRun::State() const
{
    CProgressLine::CState state;
    state.nDone = m_presenter.Done();
    state.bAllFound = m_counter && m_counter->IsFinished() && (m_pList || !m_options.fromFile);
    state.nFound = std::max(
        {state.nDone, m_counter ? m_counter->Found() : 0, m_pRunning ? m_pRunning->FilesMet() : 0});
    state.dSeconds = m_presenter.Tally().Seconds();
    return state;
}

// One line typed on the terminal; none when the input ends or a request to
// stop cuts the read short.
bool CExtractRun::ReadAnswer(std::string& line)
{
    line.clear();
    char ch = 0;
    for (;;)
    {
        if (m_streams.readInput(&ch, 1) <= 0)
            return !line.empty();
        if (ch == '\n')
            break;
        line += ch;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}
