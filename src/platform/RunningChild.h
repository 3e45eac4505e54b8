// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ChildControl.h"
#include "ChildProcess.h"
#include "RunLimits.h"

// The run of one started child, the same on every system: its streams are
// read until both end, the error stream into the result and the output to
// the request's taker, and the run is ended early on a cancel request, when
// its time is up, or when a stream fails; then the child's end is awaited.
// The system's calls come through a CChildControl.
class CRunningChild
{
public:
    CRunningChild(CChildControl& control, const CChildRequest& request, CChildResult& result);

    // Reads both streams to their end, or until the run is ended.
    void ReadStreams();
    // Waits for the child's end, which follows the end of its streams at
    // once unless something it started keeps them open.
    void Wait();

    // The result of a run that failed before its child ran.
    static CChildResult Failure(CChildResult::EFailure failure, int error);

private:
    // Ends the child and everything it started when a cancel is requested
    // or its time is up.
    bool EndedEarly();
    void Kill();
    void Fail(CChildResult::EFailure failure, int error);
    // Hands on what one stream brought. Returns false when that ended the
    // run.
    bool Take(CChildControl::EStream stream);

    CChildControl& m_control;
    const CChildRequest& m_request;
    CChildResult& m_result;
    CRunLimits m_limits;
    bool m_bKilled = false;
};
