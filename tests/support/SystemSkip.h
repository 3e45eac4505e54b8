// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

// Skips the rest of a test on Windows, printing why: for tests of what only
// a POSIX system has (signals, permission bits, capabilities, a shell).
#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << (reason)
#else
#define SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif

#include "extract/ConverterContext.h"
#include "platform/ChildProcess.h"

// Whether tests of the real pdftotext have to be skipped: Linux tests always
// have it (scripts/install-deps.sh), a Windows machine may have no
// pdftotext.exe on PATH.
inline bool RealToolMissingOnWindows()
{
#ifdef _WIN32
    CChildResult probe =
        CChildProcess::Run({CConverterContext::kDefaultToolName, "-v"}, "", nullptr);
    return probe.eFailure == CChildResult::EFailure::Start;
#else
    return false;
#endif
}
