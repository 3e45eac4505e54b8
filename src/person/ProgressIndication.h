// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CCancelFlag;

// Where one add operation stands, for its progress indication.
struct CConversionProgress
{
    int nDone = 0;   // files whose conversion has ended
    int nQueued = 0; // files queued for conversion so far
    // The files being converted right now, and what each run does beyond
    // converting (empty when nothing).
    std::vector<std::string> converting;
    std::vector<std::string> activities;
};

// What a wait for conversions watches. Both are called on the user
// interface's thread only.
class CConversionMonitor
{
public:
    virtual ~CConversionMonitor() = default;
    // Whether the wait may end.
    virtual bool IsReady() const = 0;
    virtual CConversionProgress Progress() const = 0;
};

// How an add operation shows its progress and takes a cancel while it waits
// for conversions. The window shows one progress dialog per operation; a
// front end without a person may only wait.
class CProgressIndication
{
public:
    virtual ~CProgressIndication() = default;

    // Waits until the monitor is ready while the user interface stays alive,
    // with one progress indication for the whole add operation and one
    // Cancel, which requests `cancel` (the wait then ends too). User's thread.
    virtual void WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel) = 0;
    // The monitor may have changed. Safe to call from any thread.
    virtual void NotifyConversionsChanged() = 0;
    // The add operation is over: its progress indication goes. User's
    // thread.
    virtual void EndConversions() = 0;
};
