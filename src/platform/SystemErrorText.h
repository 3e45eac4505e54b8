// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <system_error>

// The system's own description of an error number (errno on Linux, a
// GetLastError code through FormatMessage on Windows), closed by a line
// break so that text placed after it in a message starts on a line of its
// own.
class CSystemErrorText
{
public:
    static std::string Describe(int errorCode);
    // The same for a code that says which numbering it belongs to: one of
    // the C library's numbering is worded by it, as the system's own
    // numbers mean other things on Windows.
    static std::string Describe(const std::error_code& code);
    // The system's own codes for running out of memory and for work that
    // was cancelled, in the numbering Describe(int) words.
    static int OutOfMemoryCode();
    static int CancelledCode();
    // The system's name for a signal, without a line break; empty where
    // the system has no such names.
    static std::string DescribeSignal(int signal);
};
