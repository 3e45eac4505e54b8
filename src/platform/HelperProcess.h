// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ChildProcess.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A helper program that stays running and is spoken to over one stream,
// both its standard input and its output; what is said over it is the
// caller's affair. It leads a process group of its own, with a fresh
// program's signal dispositions and mask, and its error stream goes to the
// null device. It is killed, with anything it started, when the object
// goes; it ends by itself when the program ends in any way, as its stream
// then closes. On Windows no helper can start.
class CHelperProcess
{
public:
    enum class EReceived
    {
        Bytes,      // some bytes arrived
        Nothing,    // the wait was up, or interrupted, before any did
        End,        // the stream ended
        WaitFailed, // the wait for bytes failed
        ReadFailed  // reading them failed
    };

    CHelperProcess();
    ~CHelperProcess();
    CHelperProcess(const CHelperProcess&) = delete;
    CHelperProcess& operator=(const CHelperProcess&) = delete;

    // Starts the program (a path). 0, or the system's error number.
    int Start(const std::vector<std::string>& arguments);
    // Sends all the bytes; false when the helper is gone or its stream broke.
    bool Send(std::string_view bytes);
    // Waits up to `milliseconds` (-1: until something arrives) and reads what
    // arrived into `bytes`. On a failure `error` is the system's error number.
    EReceived Receive(long long milliseconds, std::string& bytes, int& error);

    // Whether the helper still runs; one that ended is reaped.
    bool IsAlive();
    // Kills the helper, if it runs, and waits for its end.
    void Kill();
    // Waits for the end of a helper that is ending by itself, and records in
    // `result` how it ended.
    void Reap(CChildResult& result);
    // The helper's process id; 0 when none runs.
    long ProcessId() const;

private:
    class CImpl;
    std::unique_ptr<CImpl> m_pImpl;
};
