// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandPresenter.h"
#include "CommandProgress.h"
#include "CommandStreams.h"
#include "ConsoleOutput.h"
#include "ExtractOptions.h"
#include "FileCounter.h"
#include "FolderWatcher.h"
#include "TerminalPrompts.h"
#include "doc/AddOperation.h"
#include "doc/AddOptions.h"
#include "extract/ConverterTable.h"
#include "platform/MessageIds.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CAddOperation;
class CReportWriter;

// One run of the command over its paths and its list: one add operation
// with no list of its own, whose outcomes go to the report and the error
// stream, with progress on a terminal, taking a request to stop wherever it
// is. Main thread.
class CExtractRun
{
public:
    // `list` is the open list file of --from, or null for the standard input
    // or no list.
    CExtractRun(const CCommandStreams& streams, const CExtractOptions& options,
                const CAddSettings& settings, CReportWriter& report, std::FILE* list);

    // Reads the settings again for a watch that is asked to; false, with
    // the reason told, when they cannot be read.
    using FReread = std::function<bool(CAddSettings&)>;

    // Converts and returns the command's exit status.
    int Run();
    void RereadWith(FReread reread) { m_reread = std::move(reread); }

    // "zelto-extract: " and the message about a file the command reads or
    // writes, with the system's reason.
    static std::string FileError(EMessageId id, const std::string& path, int error);

private:
    bool Convert();
    // One operation: the paths given, on the first, then what arrives while
    // watching, until a request to stop or to read the settings again.
    void RunOperation(EStandingFolderAnswer& folderAnswer, std::string& activePath, bool first);
    void Watch(CAddOperation& operation, bool first);
    bool InShare(const std::string& path);
    bool StartWatching();
    void Reread();
    EExistingText RuleFor(const CFolderWatcher::CSettled& file) const;
    void AddListed(CAddOperation& operation);
    // Tells of a path the command was given that is not there, a mistake
    // (most likely a slip in typing it) where the window passes over a file
    // gone from a folder it walks. Whether it told.
    bool TellIfMissing(const std::string& path);
    CProgressLine::CState State() const;
    bool ReadAnswer(std::string& line);

    const CCommandStreams& m_streams;
    const CExtractOptions& m_options;
    CAddSettings m_settings;
    std::FILE* const m_pList;
    CConsoleOutput m_console;
    CCommandPresenter m_presenter;
    // Only for the progress line, which is all it serves.
    std::optional<CFileCounter> m_counter;
    CCommandProgress m_progress;
    CTerminalPrompts m_prompts;
    CConverterTable m_table;
    // The operation while it runs, for the files it has met: a list on the
    // standard input is counted as it is read.
    const CAddOperation* m_pRunning = nullptr;
    // A failure beside the files' own: the list could not be read to its end.
    bool m_bListFailed = false;
    // With --watch.
    std::unique_ptr<CFolderWatcher> m_pWatcher;
    FReread m_reread;
    // Files met by walking what was there, before the watch.
    bool m_bWalkingGiven = false;
    bool m_bRereadWanted = false;
};
