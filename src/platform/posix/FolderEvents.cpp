// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FolderEvents.h"

#include "FileDescriptor.h"
#include "SignalWake.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sys/inotify.h>
#include <unordered_map>

namespace
{
// Closing after writing, not each write, says a file may be whole; a write
// says it is still open. Moves out of a folder matter only for folders.
constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_MOVED_TO |
                                IN_MOVED_FROM | IN_ONLYDIR | IN_EXCL_UNLINK;

void Drain(int fd)
{
    char buffer[256];
    while (fd >= 0 && ::read(fd, buffer, sizeof buffer) > 0)
    {
    }
}
} // namespace

struct CFolderEvents::CImpl
{
    CFileDescriptor inotify;
    CFileDescriptor wakeRead;
    CFileDescriptor wakeWrite;
    std::unordered_map<int, std::string> folderOf;
    std::map<std::string, int> watchOf;

    void Forget(int wd)
    {
        auto folder = folderOf.find(wd);
        if (folder == folderOf.end())
            return;
        auto watch = watchOf.find(folder->second);
        if (watch != watchOf.end() && watch->second == wd)
            watchOf.erase(watch);
        folderOf.erase(folder);
    }

    // A folder moved away keeps its watches under a path that no longer
    // leads to it; they go, and a move back in is a folder that arrives.
    void ForgetTree(const std::string& folder)
    {
        std::string below = folder + '/';
        for (auto it = watchOf.lower_bound(folder);
             it != watchOf.end() && (it->first == folder || it->first.starts_with(below));)
        {
            ::inotify_rm_watch(inotify.Get(), it->second);
            folderOf.erase(it->second);
            it = watchOf.erase(it);
        }
    }

    void Translate(const inotify_event& event, std::vector<CEvent>& events)
    {
        if (event.mask & IN_Q_OVERFLOW)
        {
            events.push_back({EKind::Overflow, {}});
            return;
        }
        if (event.mask & IN_IGNORED)
        {
            Forget(event.wd);
            return;
        }
        auto folder = folderOf.find(event.wd);
        if (folder == folderOf.end() || event.len == 0 || event.name[0] == '\0')
            return;
        std::string path = folder->second + '/' + event.name;
        if (event.mask & IN_ISDIR)
        {
            if (event.mask & IN_MOVED_FROM)
                ForgetTree(path);
            else if (event.mask & (IN_CREATE | IN_MOVED_TO))
                events.push_back({EKind::FolderArrived, std::move(path)});
            return;
        }
        if (event.mask & IN_CLOSE_WRITE)
            events.push_back({EKind::Closed, std::move(path)});
        else if (event.mask & IN_MODIFY)
            events.push_back({EKind::Written, std::move(path)});
        else if (event.mask & IN_MOVED_TO)
            events.push_back({EKind::Arrived, std::move(path)});
        else if (event.mask & IN_CREATE)
            events.push_back({EKind::Made, std::move(path)});
    }

    void ReadEvents(std::vector<CEvent>& events)
    {
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;)
        {
            ssize_t length = ::read(inotify.Get(), buffer, sizeof buffer);
            if (length <= 0)
                return;
            for (ssize_t at = 0; at < length;)
            {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                Translate(*event, events);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }
};

bool CFolderEvents::Available()
{
    return true;
}

CFolderEvents::CFolderEvents() : m_pImpl(std::make_unique<CImpl>())
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0)
    {
        m_pImpl->wakeRead.Reset(ends[0]);
        m_pImpl->wakeWrite.Reset(ends[1]);
    }
}

CFolderEvents::~CFolderEvents() = default;

int CFolderEvents::Open()
{
    int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return errno;
    m_pImpl->inotify.Reset(fd);
    return 0;
}

void CFolderEvents::Close()
{
    m_pImpl->inotify.Close();
    m_pImpl->folderOf.clear();
    m_pImpl->watchOf.clear();
}

int CFolderEvents::Watch(const std::string& folder)
{
    if (!m_pImpl->inotify.IsOpen())
        return EBADF;
    int wd = ::inotify_add_watch(m_pImpl->inotify.Get(), folder.c_str(), kMask);
    if (wd < 0)
        return errno;
    // One folder reached by a second path keeps one watch, under the path
    // seen last.
    m_pImpl->Forget(wd);
    m_pImpl->folderOf[wd] = folder;
    m_pImpl->watchOf[folder] = wd;
    return 0;
}

std::size_t CFolderEvents::Count() const
{
    return m_pImpl->folderOf.size();
}

void CFolderEvents::Wait(int timeoutMs, std::vector<CEvent>& events)
{
    pollfd fds[3] = {{m_pImpl->inotify.Get(), POLLIN, 0},
                     {m_pImpl->wakeRead.Get(), POLLIN, 0},
                     {SignalWakeDescriptor(), POLLIN, 0}};
    if (::poll(fds, 3, timeoutMs) <= 0)
        return;
    if (fds[0].revents & POLLIN)
        m_pImpl->ReadEvents(events);
    if (fds[1].revents & POLLIN)
        Drain(m_pImpl->wakeRead.Get());
    if (fds[2].revents & POLLIN)
        Drain(SignalWakeDescriptor());
}

void CFolderEvents::Wake()
{
    char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(m_pImpl->wakeWrite.Get(), &byte, 1);
}
