// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SettleList.h"
#include "platform/FileProbe.h"
#include "platform/FolderEvents.h"

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Watches the folder trees a command was given and gives the files that
// arrive or change in them once they settle (CSettleList), each with the
// tree it lies in. Folders made later are watched as they come; the text
// folder is never watched, so that texts written cause no work. Where the
// system tells of changes (inotify) it is asked; where it tells nothing, on
// request (--poll), or once its watches run out, the trees are looked over
// every few seconds instead, with one message. No time passes in it while
// nothing arrives. One thread, but for Wake.
class CFolderWatcher
{
public:
    struct CSetup
    {
        // Absolute paths of folders.
        std::vector<std::string> roots;
        // Absolute; empty when texts lie beside their PDF files.
        std::string strTextFolder;
        std::chrono::milliseconds settle{2000};
        // Look every this many seconds rather than ask the system.
        std::optional<int> pollSeconds;
    };
    // Whether a file is one the command converts.
    using FAccepts = std::function<bool(const std::string&)>;
    using FTell = std::function<void(const std::string&)>;

    struct CSettled
    {
        std::string strPath;
        // The watched folder the file was found under.
        std::string strRoot;
        // Known to have arrived or changed, rather than met by a look over
        // the folders after the system lost count.
        bool bChanged = true;
    };

    CFolderWatcher(CSetup setup, FAccepts accepts, FTell tell);

    // Starts watching every tree. False, with the reason told, when a
    // folder given cannot be watched.
    bool Start();
    // Whether a file met before the watch settled long ago by its time;
    // one too young to tell is taken into the list to settle.
    bool IsSettledNow(const std::string& path);
    // Waits until files settle, a change comes that needs no more than
    // noting, Wake is called or a signal comes; appends the settled files.
    void Next(std::vector<CSettled>& settled);
    // Takes a settled file that could not be converted yet into the list
    // again.
    void NoteAgain(const std::string& path)
    {
        m_settle.Note(path, CSettleList::EWriter::Closed, CClock::now());
    }
    // Ends the current or the next wait. Any thread.
    void Wake() { m_events.Wake(); }

    bool IsPolling() const { return m_bPolling; }
    std::size_t FoldersWatched() const { return m_events.Count(); }
    std::size_t FilesSettling() const { return m_settle.Size(); }

private:
    using CClock = CSettleList::CClock;

    bool IsTextFolder(const std::string& folder) const;
    // Watches a folder and those below it; notes the files in them when
    // their changes may have gone untold.
    enum class ENote
    {
        None,
        Changed,
        Met
    };
    void WatchTree(const std::string& folder, ENote note);
    void WatchTreeOnce(const std::string& folder, ENote note,
                       std::set<std::pair<std::uint64_t, std::uint64_t>>& seen);
    void TurnToPolling(std::optional<int> error);
    void Handle(const CFolderEvents::CEvent& event);
    void Poll();
    void PollTree(const std::string& folder, std::unordered_map<std::string, CFileStamp>& found,
                  std::set<std::pair<std::uint64_t, std::uint64_t>>& seen);
    int WaitMs() const;
    std::string RootOf(const std::string& path) const;

    CSetup m_setup;
    FAccepts m_accepts;
    FTell m_tell;
    CFolderEvents m_events;
    CSettleList m_settle;
    bool m_bPolling = false;
    CClock::time_point m_nextPoll;
    // The files the last look over the trees found; only when polling.
    std::unordered_map<std::string, CFileStamp> m_seen;
};
