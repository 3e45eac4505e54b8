#pragma once

#include "CancelFlag.h"

#include <string>
#include <vector>

// What became of one run of a child process.
struct CChildResult
{
    enum class EFailure
    {
        None,  // the child ran and its error stream was read to the end
        Pipe,  // the pipe for its error stream could not be made
        Start, // the program could not be started
        Read   // reading its error stream failed
    };

    EFailure eFailure = EFailure::None;
    int nErrorCode = 0;         // system error number of the failure
    bool bCancelled = false;    // the run was ended on request
    std::string strErrorOutput; // everything the child wrote on its error stream
    int nExitStatus = -1;       // exit code; -1 when it ended by a signal or never ran
    int nSignal = 0;            // the signal that ended it; 0 when it exited
};

// Starts a program with an argument vector, never through a shell, looking
// it up along PATH unless its name holds a path. The standard error stream
// comes back through a pipe, read to its end in chunks of up to 500 bytes. A
// zero byte ends the contribution of the chunk that holds it. The child has
// always ended before Run returns, and so has anything it started when the
// run is cancelled.
//
// On Linux the vector goes to posix_spawn as it is; standard input and
// output are inherited and the child leads a process group of its own.
// On Windows the name gets ".exe" when it has no extension, the vector
// becomes a command line quoted by CommandLineToArgvW's rules, the child
// runs without a console window in a job object, standard input and output
// are the null device, and error numbers are the system's (GetLastError).
class CChildProcess
{
public:
    static constexpr size_t kChunkSize = 500;

    // `workingFolder` empty keeps the caller's current folder. `cancel` may
    // be null; when it is set, the child is ended and the result says so.
    static CChildResult Run(const std::vector<std::string>& arguments,
                            const std::string& workingFolder, const CCancelFlag* cancel);

    // Adds one chunk read from the error stream to what was captured; the
    // reading loop of each system calls it.
    static void AppendChunk(std::string& captured, const char* chunk, size_t length);
};
