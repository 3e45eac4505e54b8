// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderWatcher.h"

#include "ExtractRun.h"
#include "platform/MessageTable.h"

#include <algorithm>
#include <cerrno>

namespace
{
using EWriter = CSettleList::EWriter;
using CSeen = std::set<std::pair<std::uint64_t, std::uint64_t>>;

// A folder reached again by a link is not walked again: links may loop.
bool FirstVisit(const std::string& folder, CSeen& seen)
{
    std::optional<CFileStamp> stamp = CFileProbe::Stamp(folder);
    return stamp && seen.insert({stamp->nDevice, stamp->nInode}).second;
}

EWriter WriterOf(CFolderEvents::EKind kind)
{
    switch (kind)
    {
    case CFolderEvents::EKind::Written:
        return EWriter::Open;
    case CFolderEvents::EKind::Closed:
    case CFolderEvents::EKind::Arrived:
        return EWriter::Closed;
    default:
        return EWriter::Unknown;
    }
}

std::string Child(const std::string& folder, const std::string& name)
{
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}
} // namespace

CFolderWatcher::CFolderWatcher(CSetup setup, FAccepts accepts, FTell tell)
    : m_setup(std::move(setup)), m_accepts(std::move(accepts)), m_tell(std::move(tell)),
      m_settle(m_setup.settle, [](const std::string& path) { return CFileProbe::Stamp(path); })
{
    for (std::string& root : m_setup.roots)
    {
        while (root.size() > 1 && root.ends_with('/'))
            root.pop_back();
    }
    while (m_setup.strTextFolder.size() > 1 && m_setup.strTextFolder.ends_with('/'))
        m_setup.strTextFolder.pop_back();
}

bool CFolderWatcher::Start()
{
    if (!m_setup.pollSeconds)
    {
        if (int error = m_events.Open())
            TurnToPolling(error);
    }
    else
        TurnToPolling(std::nullopt);
    for (const std::string& root : m_setup.roots)
    {
        if (m_bPolling)
            break;
        if (int error = m_events.Watch(root); error != 0 && error != ENOSPC)
        {
            m_tell(CExtractRun::FileError(EMessageId::WatchNotWatched, root, error));
            return false;
        }
        WatchTree(root, ENote::None);
    }
    return true;
}

bool CFolderWatcher::IsTextFolder(const std::string& folder) const
{
    if (m_setup.strTextFolder.empty())
        return false;
    if (folder == m_setup.strTextFolder)
        return true;
    std::optional<CFileStamp> text = CFileProbe::Stamp(m_setup.strTextFolder);
    std::optional<CFileStamp> stamp = text ? CFileProbe::Stamp(folder) : std::nullopt;
    return stamp && stamp->nDevice == text->nDevice && stamp->nInode == text->nInode;
}

void CFolderWatcher::WatchTree(const std::string& folder, ENote note)
{
    CSeen seen;
    WatchTreeOnce(folder, note, seen);
}

void CFolderWatcher::WatchTreeOnce(const std::string& folder, ENote note, CSeen& seen)
{
    if (m_bPolling || IsTextFolder(folder) || !FirstVisit(folder, seen))
        return;
    if (int error = m_events.Watch(folder); error == ENOSPC)
    {
        TurnToPolling(error);
        return;
    }
    std::vector<std::string> names;
    CFileProbe::ListNames(folder, names);
    auto now = CClock::now();
    for (const std::string& name : names)
    {
        std::string path = Child(folder, name);
        if (CFileProbe::IsFolder(path))
            WatchTreeOnce(path, note, seen);
        else if (note != ENote::None && m_accepts(path))
            m_settle.Note(path, EWriter::Unknown, now, note == ENote::Changed);
    }
}

// Files may have come unseen into folders not watched yet: the first look
// notes them all, and those converted before are kept by the rule for
// existing text. Asked for at the start, the first look only learns what
// is there, which the first conversions take.
void CFolderWatcher::TurnToPolling(std::optional<int> error)
{
    if (m_bPolling)
        return;
    m_bPolling = true;
    m_events.Close();
    int seconds = m_setup.pollSeconds.value_or(2);
    if (error == ENOSPC)
        m_tell(CMessageTable::Format(
            EMessageId::CommandError,
            {CMessageTable::Format(EMessageId::WatchOutOfWatches, {seconds})}));
    else if (error)
        m_tell(CMessageTable::Format(EMessageId::CommandError,
                                     {CMessageTable::Format(EMessageId::WatchPolling, {seconds})}));
    m_setup.pollSeconds = seconds;
    bool noteAll = error == ENOSPC;
    std::unordered_map<std::string, CFileStamp> found;
    CSeen seen;
    for (const std::string& root : m_setup.roots)
        PollTree(root, found, seen);
    if (noteAll)
    {
        auto now = CClock::now();
        for (const auto& entry : found)
            m_settle.Note(entry.first, EWriter::Unknown, now, false);
    }
    m_seen = std::move(found);
    m_nextPoll = CClock::now() + std::chrono::seconds(seconds);
}

bool CFolderWatcher::IsSettledNow(const std::string& path)
{
    std::optional<CFileStamp> stamp = CFileProbe::Stamp(path);
    auto wallNow = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
    auto settleNs = std::chrono::duration_cast<std::chrono::nanoseconds>(m_setup.settle).count();
    if (!stamp || (stamp->nSize > 0 && stamp->nModifiedNs + settleNs <= wallNow))
        return true;
    m_settle.Note(path, EWriter::Unknown, CClock::now(), false);
    return false;
}

void CFolderWatcher::Next(std::vector<CSettled>& settled)
{
    std::vector<CFolderEvents::CEvent> events;
    m_events.Wait(WaitMs(), events);
    for (const CFolderEvents::CEvent& event : events)
        Handle(event);
    if (m_bPolling && CClock::now() >= m_nextPoll)
        Poll();
    for (CSettleList::CReady& ready : m_settle.TakeSettled(CClock::now()))
    {
        std::string root = RootOf(ready.strPath);
        settled.push_back({std::move(ready.strPath), std::move(root), ready.bChanged});
    }
}

void CFolderWatcher::Handle(const CFolderEvents::CEvent& event)
{
    using EKind = CFolderEvents::EKind;
    switch (event.eKind)
    {
    // Files met after the system lost count may be as they were: the rule
    // for existing text decides.
    case EKind::Overflow:
        for (const std::string& root : m_setup.roots)
            WatchTree(root, ENote::Met);
        return;
    case EKind::FolderArrived:
        WatchTree(event.strPath, ENote::Changed);
        return;
    default:
        if (m_accepts(event.strPath))
            m_settle.Note(event.strPath, WriterOf(event.eKind), CClock::now());
    }
}

void CFolderWatcher::Poll()
{
    std::unordered_map<std::string, CFileStamp> found;
    CSeen seen;
    for (const std::string& root : m_setup.roots)
        PollTree(root, found, seen);
    auto now = CClock::now();
    for (const auto& [path, stamp] : found)
    {
        auto before = m_seen.find(path);
        if (before == m_seen.end() || before->second != stamp)
            m_settle.Note(path, EWriter::Unknown, now);
    }
    m_seen = std::move(found);
    m_nextPoll = now + std::chrono::seconds(*m_setup.pollSeconds);
}

void CFolderWatcher::PollTree(const std::string& folder,
                              std::unordered_map<std::string, CFileStamp>& found, CSeen& seen)
{
    if (IsTextFolder(folder) || !FirstVisit(folder, seen))
        return;
    std::vector<std::string> names;
    CFileProbe::ListNames(folder, names);
    for (const std::string& name : names)
    {
        std::string path = Child(folder, name);
        if (CFileProbe::IsFolder(path))
            PollTree(path, found, seen);
        else if (m_accepts(path))
        {
            if (std::optional<CFileStamp> stamp = CFileProbe::Stamp(path))
                found.emplace(std::move(path), *stamp);
        }
    }
}

int CFolderWatcher::WaitMs() const
{
    std::optional<CClock::time_point> due = m_settle.NextDue();
    if (m_bPolling && (!due || m_nextPoll < *due))
        due = m_nextPoll;
    if (!due)
        return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - CClock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, 24 * 3600 * 1000));
}

std::string CFolderWatcher::RootOf(const std::string& path) const
{
    std::string best;
    for (const std::string& root : m_setup.roots)
    {
        if (root.size() > best.size() && path.starts_with(root) &&
            (root.ends_with('/') || (path.size() > root.size() && path[root.size()] == '/')))
            best = root;
    }
    return best;
}
