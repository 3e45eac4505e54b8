// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CancelFlag.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// What became of one run of a child process.
struct CChildResult
{
    enum class EFailure
    {
        None,  // the child ran and its error stream was read to the end
        Pipe,  // a pipe for its streams could not be made
        Start, // the program could not be started
        Read,  // reading its error or output stream failed
        Write  // what it wrote on its standard output could not be kept
    };

    EFailure eFailure = EFailure::None;
    int nErrorCode = 0;         // system error number of the failure
    bool bCancelled = false;    // the run was ended on request
    bool bTimedOut = false;     // the run was ended when its time was up
    std::string strErrorOutput; // everything the child wrote on its error stream
    int nExitStatus = -1;       // exit code; -1 when it ended by a signal or never ran
    int nSignal = 0;            // the signal that ended it; 0 when it exited
};

// Variables of the environment as names and values.
using CChildEnvironment = std::vector<std::pair<std::string, std::string>>;

// One run: the program and its arguments, where it runs, and what may end
// it early.
struct CChildRequest
{
    std::vector<std::string> arguments;
    // Empty keeps the caller's current folder.
    std::string workingFolder;
    // Variables set for the child alone, each name once: added to the
    // program's environment, or in place of its value of that name (names
    // compared as the system does: case-insensitively on Windows). The
    // program's own environment stays as it is.
    CChildEnvironment environment;
    // May be null; when it is set, the child is ended and the result says so.
    const CCancelFlag* cancel = nullptr;
    // Seconds the run may take; 0 for no limit. A run past it is ended and
    // the result says it timed out.
    int nTimeLimitSeconds = 0;
    // Takes what the child writes on its standard output, chunk by chunk, on
    // the thread that runs it; gives 0, or the system's error number of a
    // failed write, which ends the run (EFailure::Write). Without it the
    // output is discarded.
    std::function<int(const char*, std::size_t)> onOutput;
};

// Starts a program with an argument vector, never through a shell, looking
// it up along PATH unless its name holds a path. The standard error stream
// comes back through a pipe, read to its end in chunks of up to 500 bytes. A
// zero byte ends the contribution of the chunk that holds it. The child has
// always ended before Run returns, and so has anything it started when the
// run is cancelled or timed out. A child never outlives the program: it
// ends when the program ends in any way, a crash and `kill -9` included.
//
// On Linux the child is forked and set to be killed when the thread that
// started it ends (PR_SET_PDEATHSIG); it leads a process group of its own,
// its standard input is inherited and its standard output is a pipe.
// On Windows the name gets ".exe" when it has no extension, the vector
// becomes a command line quoted by CommandLineToArgvW's rules, the child
// runs without a console window in a job object that ends with the program,
// standard input is the null device and standard output a pipe, and error
// numbers are the system's (GetLastError).
class CChildProcess
{
public:
    static constexpr size_t kChunkSize = 500;

    static CChildResult Run(const CChildRequest& request);
    static CChildResult Run(const std::vector<std::string>& arguments,
                            const std::string& workingFolder, const CCancelFlag* cancel);

    // Adds one chunk read from the error stream to what was captured; the
    // reading loop of each system calls it.
    static void AppendChunk(std::string& captured, const char* chunk, size_t length);
};
