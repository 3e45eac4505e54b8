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

// Starts a program with an argument vector (no shell, no quoting), looking
// it up along PATH unless its name holds a slash. Standard input and output are inherited; the
// standard error stream comes back through a pipe, read to its end in chunks
// of up to 500 bytes. A zero byte ends the contribution of the chunk that
// holds it. The child is always reaped before Run returns.
class CChildProcess
{
public:
    static constexpr size_t kChunkSize = 500;

    // `workingFolder` empty keeps the caller's current folder. `cancel` may
    // be null; when it is set, the child is killed and the result says so.
    static CChildResult Run(const std::vector<std::string>& arguments,
                            const std::string& workingFolder, const CCancelFlag* cancel);
};
