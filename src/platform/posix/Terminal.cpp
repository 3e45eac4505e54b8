// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Terminal.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>

namespace
{
int Descriptor(CTerminal::EStream stream)
{
    switch (stream)
    {
    case CTerminal::EStream::Input:
        return STDIN_FILENO;
    case CTerminal::EStream::Output:
        return STDOUT_FILENO;
    case CTerminal::EStream::Error:
        break;
    }
    return STDERR_FILENO;
}
} // namespace

std::vector<std::string> CTerminal::Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void CTerminal::Prepare() {}

bool CTerminal::IsTerminal(EStream stream)
{
    return ::isatty(Descriptor(stream)) == 1;
}

int CTerminal::Columns()
{
    struct winsize size = {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

long CTerminal::ReadInput(char* buffer, std::size_t size)
{
    return static_cast<long>(::read(STDIN_FILENO, buffer, size));
}

void CTerminal::Write(EStream stream, std::string_view text)
{
    int fd = Descriptor(stream);
    while (!text.empty())
    {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}
