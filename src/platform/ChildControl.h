// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

struct CChildResult;

// One system's hold on a started child: its error stream and standard
// output, the wait for its end, and the way to end it and what it started.
// CRunningChild drives it; nothing here judges a cancel or a time limit.
class CChildControl
{
public:
    enum class EStream
    {
        Error,
        Output
    };
    enum class EEnd
    {
        Ended,   // the child has ended; what it ended with is recorded
        Running, // the wait was up before the child ended
        Lost     // the child cannot be waited for
    };

    virtual ~CChildControl() = default;

    // Whether the stream has not ended yet.
    virtual bool IsOpen(EStream stream) const = 0;
    // Waits up to `milliseconds` (-1: until something arrives) for an open
    // stream to bring something, and marks the streams that did (`ready` is
    // indexed by EStream; none on a timeout or an interruption). False, with
    // the system's error number, when the wait itself failed.
    virtual bool AwaitStreams(long long milliseconds, bool ready[2], int& error) = 0;
    // Reads what a stream brought: some bytes, or none when the read was
    // interrupted or the stream ended (then it is closed). The bytes stay
    // valid until the next read. Returns 0 or the system's error number.
    virtual int Read(EStream stream, std::string_view& bytes) = 0;
    // Ends the child and everything it started.
    virtual void Kill() = 0;
    // Waits up to `milliseconds` (-1: until it ends) for the child's end, and
    // records in the result how it ended. `bKilled` says it was killed.
    virtual EEnd AwaitEnd(long long milliseconds, bool bKilled, CChildResult& result) = 0;
};
