// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProgressLine.h"
#include "person/ProgressIndication.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

class CConsoleOutput;

// How the command waits for its conversions: it sleeps until a conversion
// ends or a request to stop comes, which cancels the run, and redraws the
// progress line a few times a second while it waits.
class CCommandProgress : public CProgressIndication
{
public:
    // The counts of the run so far; the file in progress is added here.
    using FState = std::function<CProgressLine::CState()>;
    // The signal of a request to stop, or 0. Any thread.
    using FStopRequest = std::function<int()>;

    CCommandProgress(CConsoleOutput& console, FState state, FStopRequest stopRequest);

    void WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel) override;
    void NotifyConversionsChanged() override;
    void EndConversions() override;

    // Also told of every change of the conversions, from any thread; set
    // before they start.
    void OnChange(std::function<void()> changed) { m_onChange = std::move(changed); }

    // Redraws the line when the last drawing is old enough; main thread.
    void Tick();

private:
    void Draw();

    CConsoleOutput& m_console;
    FState m_state;
    FStopRequest m_stopRequest;
    std::string m_strCurrent;
    std::chrono::steady_clock::time_point m_lastDrawn;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bChanged = false;
    std::function<void()> m_onChange;
};
