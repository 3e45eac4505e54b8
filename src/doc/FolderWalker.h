#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Walks folders for one add operation and remembers which folders the walk
// is inside of, so that a link leading back into one of them (a loop of
// symbolic links, or a junction on Windows) is never entered again. Links to
// files and to other folders are followed.
class CFolderWalker
{
public:
    // The entries of a folder, all but "." and "..", hidden ones included,
    // as full paths in case-insensitive name order. Throws
    // std::filesystem::filesystem_error when the folder cannot be read.
    static std::vector<std::string> ReadEntries(const std::string& folder);

    // Whether the folder is one that a walk in progress is inside of.
    bool IsBeingWalked(const std::string& folder) const;

    // Hands every entry of the folder to `visit`, in the order of
    // ReadEntries. The entries are read before the first visit, so files
    // that visiting creates in the folder (the text files) are not met.
    void Walk(const std::string& folder, const std::function<void(const std::string&)>& visit);

private:
    // A folder's identity whatever path leads to it: device and file number.
    using CFolderId = std::pair<std::uint64_t, std::uint64_t>;

    std::set<CFolderId> m_walking;
};
