// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

// What the system tells of changes in folders, one folder at a time (not
// its subfolders): inotify on Linux. Where the system tells nothing, Wait
// still waits, for its time, for Wake and for the requests of
// CInterruptSignals, so a caller that looks for itself (polling) waits
// through the same call. Deleted files are not told: nothing is done for
// them.
class CFolderEvents
{
public:
    enum class EKind
    {
        // A file was written to and is still open for writing.
        Written,
        // A file open for writing was closed.
        Closed,
        // A file was made; whoever made it may still write it.
        Made,
        // A file was moved or renamed into the folder.
        Arrived,
        // A folder was made, or moved into the folder; it is not watched
        // yet, nor its subfolders.
        FolderArrived,
        // The system lost events: anything may have changed.
        Overflow
    };

    struct CEvent
    {
        EKind eKind;
        std::string strPath;
    };

    // Whether the system can tell of changes at all.
    static bool Available();

    CFolderEvents();
    ~CFolderEvents();
    CFolderEvents(const CFolderEvents&) = delete;
    CFolderEvents& operator=(const CFolderEvents&) = delete;

    // Asks the system to tell of changes. 0, or the error number; Wait and
    // Wake work either way.
    int Open();
    // Stops every watch, as when the caller turns to looking for itself.
    void Close();
    // Watches one folder. 0, or the error number: ENOSPC when the system's
    // watches are used up.
    int Watch(const std::string& folder);
    // How many folders are watched.
    std::size_t Count() const;

    // Waits up to `timeoutMs` (-1: no limit) for changes, for Wake, or for a
    // request to stop or to read the settings again, and appends the
    // changes. A folder moved away or deleted is no longer watched.
    void Wait(int timeoutMs, std::vector<CEvent>& events);
    // Ends the current or the next Wait. Any thread.
    void Wake();

private:
    struct CImpl;
    std::unique_ptr<CImpl> m_pImpl;
};
