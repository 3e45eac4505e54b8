#pragma once

#include <string>

// The system's own description of an error number (errno on Linux, a
// GetLastError code through FormatMessage on Windows), closed by a line
// break so that text placed after it in a message starts on a line of its
// own.
class CSystemErrorText
{
public:
    static std::string Describe(int errorCode);
    // The system's name for a signal, without a line break; empty where
    // the system has no such names.
    static std::string DescribeSignal(int signal);
};
