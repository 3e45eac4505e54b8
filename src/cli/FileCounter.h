// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Shard.h"

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Counts, on a thread of its own, the files a run is going to meet, so that
// its progress can tell files done of files found and the time left while
// the run goes on. It walks what the run walks (the paths given and the
// paths of a list file, folders recursively, the text folder left out, the
// run's own share only) and keeps nothing but the count.
class CFileCounter
{
public:
    struct CInputs
    {
        std::vector<std::string> paths;
        // A list file to read the paths of; none for a list on the standard
        // input, which can be read only once.
        std::optional<std::string> listFile;
        bool bNulSeparated = false;
        std::optional<CShard> shard;
        std::string strTextFolder;
    };

    // The thread starts here and holds back requests to stop, which are the
    // main thread's to take.
    explicit CFileCounter(CInputs inputs);
    // Stops the count and waits for the thread.
    ~CFileCounter();

    CFileCounter(const CFileCounter&) = delete;
    CFileCounter& operator=(const CFileCounter&) = delete;

    int Found() const { return m_nFound.load(); }
    bool IsFinished() const { return m_bFinished.load(); }

private:
    void Count();
    void CountPath(const std::string& path, class CFolderWalker& walker,
                   const class CTextPlacement& placement);
    void CountList(CFolderWalker& walker, const CTextPlacement& placement);

    const CInputs m_inputs;
    std::atomic<int> m_nFound{0};
    std::atomic<bool> m_bFinished{false};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};
