// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderWalker.h"

#include "platform/FileProbe.h"
#include "platform/PathRules.h"

#include <algorithm>
#include <new>
#include <optional>

namespace
{
bool NameLess(const std::string& a, const std::string& b)
{
    int order = CPathRules::CompareNoCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

// Leaves the set of folders being walked when the walk of one ends, also
// when it ends by an exception.
class CWalkingMark
{
public:
    CWalkingMark(std::set<std::pair<std::uint64_t, std::uint64_t>>& walking,
                 std::pair<std::uint64_t, std::uint64_t> id)
        : m_walking(walking), m_bAdded(walking.insert(id).second), m_id(id)
    {
    }
    ~CWalkingMark()
    {
        if (m_bAdded)
            m_walking.erase(m_id);
    }
    CWalkingMark(const CWalkingMark&) = delete;
    CWalkingMark& operator=(const CWalkingMark&) = delete;

private:
    std::set<std::pair<std::uint64_t, std::uint64_t>>& m_walking;
    bool m_bAdded;
    std::pair<std::uint64_t, std::uint64_t> m_id;
};
} // namespace

std::vector<std::string> CFolderWalker::ReadEntries(const std::string& folder,
                                                    std::error_code& error)
{
    error.clear();
    std::vector<std::string> names;
    if (int code = CFileProbe::ListNames(folder, names))
    {
        error.assign(code, std::system_category());
        return {};
    }

    std::sort(names.begin(), names.end(), NameLess);
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& name : names)
        paths.push_back(CPathRules::Native().Join(folder, name));
    return paths;
}

bool CFolderWalker::IsBeingWalked(const std::string& folder) const
{
    if (m_walking.empty())
        return false;
    std::optional<CFileStamp> stamp = CFileProbe::Stamp(folder);
    return stamp && m_walking.count({stamp->nDevice, stamp->nInode}) != 0;
}

int CFolderWalker::Walk(const std::string& folder,
                        const std::function<void(const std::string&)>& visit)
{
    std::error_code error;
    std::vector<std::string> entries = ReadEntries(folder, error);
    if (error)
        return UnreadableError(error.value());
    std::optional<CWalkingMark> mark;
    if (std::optional<CFileStamp> stamp = CFileProbe::Stamp(folder))
        mark.emplace(m_walking, CFolderId{stamp->nDevice, stamp->nInode});
    for (const std::string& entry : entries)
        visit(entry);
    return 0;
}

int CFolderWalker::UnreadableError(int errorCode)
{
    if (CFileProbe::MeansGone(errorCode))
        return 0;
    // A listing that could not get its memory would fail anywhere else too.
    if (CFileProbe::MeansOutOfMemory(errorCode))
        throw std::bad_alloc();
    return errorCode;
}
