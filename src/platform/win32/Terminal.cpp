// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Terminal.h"

#include "WideText.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

namespace
{
int Descriptor(CTerminal::EStream stream)
{
    switch (stream)
    {
    case CTerminal::EStream::Input:
        return 0;
    case CTerminal::EStream::Output:
        return 1;
    case CTerminal::EStream::Error:
        break;
    }
    return 2;
}
} // namespace

std::vector<std::string> CTerminal::Arguments(int, char**)
{
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(CWideText::ToUtf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void CTerminal::Prepare()
{
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCP(CP_UTF8);
    for (int fd = 0; fd <= 2; ++fd)
        ::_setmode(fd, _O_BINARY);
}

bool CTerminal::IsTerminal(EStream stream)
{
    return ::_isatty(Descriptor(stream)) != 0;
}

int CTerminal::Columns()
{
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
    return 80;
}

long CTerminal::ReadInput(char* buffer, std::size_t size)
{
    unsigned count = size > 0x7fffffffu ? 0x7fffffffu : static_cast<unsigned>(size);
    return ::_read(0, buffer, count);
}

void CTerminal::Write(EStream stream, std::string_view text)
{
    int fd = Descriptor(stream);
    while (!text.empty())
    {
        unsigned count = text.size() > 0x10000u ? 0x10000u : static_cast<unsigned>(text.size());
        int written = ::_write(fd, text.data(), count);
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}
