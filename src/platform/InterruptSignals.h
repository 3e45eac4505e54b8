// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The requests to stop that a command receives from outside: SIGINT (an
// interrupt from the terminal) and SIGTERM on Linux; Ctrl+C, Ctrl+Break and
// the console being closed on Windows, taken as SIGINT, SIGTERM and SIGTERM.
// The first request is recorded and the command winds down; a second one
// ends it at once, as it would have without a handler.
class CInterruptSignals
{
public:
    // Takes over the requests for the rest of the program's life.
    static void Install();
    // The signal of the first request, or 0 when none came.
    static int Received();
    // Leaves the requests to other threads (the command's main thread), so
    // that a read it is blocked in is cut short. From the thread itself;
    // nothing to do on Windows, where the requests come on a thread of
    // their own.
    static void HoldInThisThread();
    // Takes SIGHUP as a request to read the settings again, for a command
    // that runs as a service; nothing on Windows, which has no such request.
    static void InstallReread();
    // Whether a request to read the settings again came since the last call.
    static bool TakeRereadRequest();
    // The exit status of a command ended by the signal: 128 + its number.
    static int ExitStatus(int signal) { return 128 + signal; }
};
