// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The standard streams of a command as the system gives them: whether one
// is a terminal, how wide the error stream's terminal is, and reads and
// writes that a signal may cut short. Text is UTF-8 on every system.
class CTerminal
{
public:
    enum class EStream
    {
        Input,
        Output,
        Error
    };

    // The program's arguments after its name, in UTF-8 (on Windows read
    // from the wide command line, so that every name survives).
    static std::vector<std::string> Arguments(int argc, char** argv);

    // Sets the streams up for UTF-8 bytes with no line end translation
    // (Windows); nothing to do elsewhere. Once, before anything is written.
    static void Prepare();

    static bool IsTerminal(EStream stream);
    // The error stream's terminal width in columns; 80 when it cannot be
    // told.
    static int Columns();

    // Reads up to `size` bytes of the standard input. Gives the count, 0 at
    // its end, or -1 with errno set; EINTR when a signal came first.
    static long ReadInput(char* buffer, std::size_t size);
    // Writes all of `text` to the stream and flushes it; a failure is
    // ignored, as there is nowhere left to tell of it.
    static void Write(EStream stream, std::string_view text);
};
