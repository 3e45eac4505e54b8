// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileProbe.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The files that changed and wait to be whole before they are converted: a
// file is whole once it is closed and its size and time have not changed
// for the settling time. A file still being copied, or written page by page
// with pauses while it stays open, is never taken half. Only files that
// wait are held, so memory follows the files in flight, not those seen.
// One thread.
class CSettleList
{
public:
    using FStamp = std::function<std::optional<CFileStamp>(const std::string&)>;
    using CClock = std::chrono::steady_clock;

    struct CReady
    {
        std::string strPath;
        // Whether it is known to have changed, rather than met by a look
        // that could not tell.
        bool bChanged = true;

        bool operator==(const CReady&) const = default;
    };

    // What is known of a file's writer.
    enum class EWriter
    {
        // It wrote and holds the file open.
        Open,
        // It closed the file, or moved it in whole.
        Closed,
        // Nothing tells: the file was made, or found by looking.
        Unknown
    };

    CSettleList(std::chrono::milliseconds settle, FStamp stamp);

    // The file changed. `changed` false: it was met, and may be as it was.
    void Note(const std::string& path, EWriter writer, CClock::time_point now, bool changed = true);
    // The files that settled by `now`, in no order; they leave the list,
    // as do files gone meanwhile.
    std::vector<CReady> TakeSettled(CClock::time_point now);
    // When the next file may settle; nothing when none can until it
    // changes again.
    std::optional<CClock::time_point> NextDue() const;
    std::size_t Size() const { return m_files.size(); }

private:
    struct CFile
    {
        std::optional<CFileStamp> stamp;
        CClock::time_point since;
        EWriter eWriter = EWriter::Unknown;
        bool bChanged = false;
    };

    const std::chrono::milliseconds m_settle;
    FStamp m_stamp;
    std::unordered_map<std::string, CFile> m_files;
};
