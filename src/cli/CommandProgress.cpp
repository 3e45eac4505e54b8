// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandProgress.h"

#include "ConsoleOutput.h"
#include "platform/CancelFlag.h"

namespace
{
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);
// A request to stop is seen within this time even when no conversion ends.
constexpr auto kLookEvery = std::chrono::milliseconds(50);
} // namespace

CCommandProgress::CCommandProgress(CConsoleOutput& console, FState state, FStopRequest stopRequest)
    : m_console(console), m_state(std::move(state)), m_stopRequest(std::move(stopRequest))
{
}

void CCommandProgress::WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel)
{
    while (!monitor.IsReady())
    {
        if (m_stopRequest())
        {
            cancel.Request();
            return;
        }
        CConversionProgress progress = monitor.Progress();
        m_strCurrent = progress.converting.empty() ? std::string() : progress.converting.front();
        Tick();
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, kLookEvery, [this] { return m_bChanged; });
        m_bChanged = false;
    }
}

void CCommandProgress::NotifyConversionsChanged()
{
    {
        std::lock_guard lock(m_mutex);
        m_bChanged = true;
    }
    m_changed.notify_one();
    if (m_onChange)
        m_onChange();
}

void CCommandProgress::EndConversions()
{
    m_console.ClearProgress();
}

void CCommandProgress::Tick()
{
    if (!m_console.ShowsProgress())
        return;
    auto now = std::chrono::steady_clock::now();
    if (now - m_lastDrawn < kRedrawEvery)
        return;
    m_lastDrawn = now;
    Draw();
}

void CCommandProgress::Draw()
{
    CProgressLine::CState state = m_state();
    if (!m_strCurrent.empty())
        state.strCurrent = m_strCurrent;
    m_console.Progress(CProgressLine::Format(state, m_console.Columns()));
}
