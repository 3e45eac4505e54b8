// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "extract/WorkerProtocol.h"

// A worker's life: greets, then answers requests read from `input` on
// `output` until the input ends.
class CWorkerLoop
{
public:
    CWorkerLoop(int input, int output) : m_nInput(input), m_nOutput(output) {}

    // The exit status for the worker: 0 when its input ended, 1 when it
    // could not read or write.
    int Run();

private:
    void Send(EWorkerFrame kind, std::string_view payload);
    void SendAll(std::string_view bytes);

    int m_nInput;
    int m_nOutput;
    bool m_bBroken = false;
};
