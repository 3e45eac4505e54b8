// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

// Walks folders for one add operation and remembers which folders the walk
// is inside of, so that a link leading back into one of them (a loop of
// symbolic links, or a junction on Windows) is never entered again. Links to
// files and to other folders are followed.
//
// A folder that cannot be read is skipped and the walk goes on with the
// rest: the walk gives the system's reason, so that the person can be told
// once, when the walk meets it. That holds for the top folder of a drop as much
// as for a subfolder, and for a folder whose names can be listed but whose
// entries cannot be reached (no search permission), as nothing in it could
// be added. A folder that no longer exists by the time it is read is passed
// over in silence, as every path that no longer exists is: there is nothing
// left to add and nothing the person could put right. Memory running out
// while a folder is read is no fault of the folder and ends the operation.
class CFolderWalker
{
public:
    // The entries of a folder, all but "." and "..", hidden ones included,
    // as full paths in case-insensitive name order. When the folder cannot
    // be read, or its entries cannot be reached, gives nothing and sets
    // `error` to the system's reason.
    static std::vector<std::string> ReadEntries(const std::string& folder, std::error_code& error);

    // Whether the folder is one that a walk in progress is inside of.
    bool IsBeingWalked(const std::string& folder) const;

    // Hands every entry of the folder to `visit`, in the order of
    // ReadEntries. The entries are read before the first visit, so files
    // that visiting creates in the folder (the text files) are not met.
    // A folder that cannot be read visits nothing and gives the system's
    // error code; otherwise, and for a folder that is gone, gives 0.
    int Walk(const std::string& folder, const std::function<void(const std::string&)>& visit);

private:
    // A folder's identity whatever path leads to it: device and file number.
    using CFolderId = std::pair<std::uint64_t, std::uint64_t>;

    static int UnreadableError(int errorCode);

    std::set<CFolderId> m_walking;
};
