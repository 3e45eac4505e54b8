// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WorkerProtocol.h"
#include "platform/ChildProcess.h"
#include "platform/HelperProcess.h"

#include <string>
#include <vector>

// One extraction worker: a helper program that stays running and converts
// one file after another, asked over a stream that is both its standard
// input and output (the frames of CWorkerProtocol). Each run gives the
// result a run of the tool itself would give: what the worker wrote as the
// tool's output and error stream, its exit status, and, when the worker
// died on the file, the signal that ended it.
//
// A worker serves one thread at a time. It runs as a CHelperProcess: it is
// killed when a run is cancelled or out of time, and when the object goes;
// it ends by itself when the program ends in any way. On Windows no worker
// can start: Start fails and the tool runs instead.
class CWorkerProcess
{
public:
    CWorkerProcess() = default;
    CWorkerProcess(const CWorkerProcess&) = delete;
    CWorkerProcess& operator=(const CWorkerProcess&) = delete;

    // Starts the program (a path) and waits for its greeting. 0, or the
    // system's error number; a program that does not greet as a worker
    // greets gives ENOEXEC.
    int Start(const std::vector<std::string>& arguments);

    // Runs one request for the tool with these arguments, with the limits
    // and output of `request`, the worker trying `passwords` should the PDF
    // be locked; `lock` tells what it found, `unmappedFontPages` the pages
    // drawn in fonts without a map to Unicode. `bUnsupported` is set, and
    // nothing else, when the worker does not do what the arguments ask, or
    // none runs.
    CChildResult Run(const std::vector<std::string>& toolArguments, const CChildRequest& request,
                     const std::vector<std::string>& passwords, EPdfLock& lock,
                     std::vector<int>& unmappedFontPages, bool& bUnsupported);

    // Whether the worker is still there to take the next request.
    bool IsAlive();
    // How many requests the worker has answered in full.
    int FilesDone() const;
    // The worker's process id; 0 when none is running.
    long ProcessId() const;

private:
    // Hands on the frames that have arrived; true once the request is
    // answered or its run is over.
    bool TakeFrames(const CChildRequest& request, CChildResult& result, EPdfLock& lock,
                    std::vector<int>& unmappedFontPages, bool& bUnsupported);
    // Kills the worker, if running, and waits for its end.
    void End();
    // Ends a worker that left a request without its answer, and tells how:
    // by a signal, or by an exit that can never read as success.
    void EndUnanswered(CChildResult& result);

    CHelperProcess m_helper;
    CFrameReader m_reader;
    std::string m_strChunk;
    int m_nFilesDone = 0;
};
