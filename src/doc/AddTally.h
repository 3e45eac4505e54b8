// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/OutcomeKind.h"

#include <array>
#include <chrono>
#include <string>

// The counts of what one add operation met, by outcome, the files it
// converted, and how long it took: what its summary line says.
class CAddTally
{
public:
    CAddTally();

    // One message about a file told this outcome.
    void Count(EFileOutcome outcome) { ++m_counts[static_cast<std::size_t>(outcome)]; }
    // One more file was converted.
    void CountConverted() { ++m_nConverted; }
    // The operation is over; its time stops.
    void Stop();

    int Converted() const { return m_nConverted; }
    int Count(EFileOutcome outcome) const { return m_counts[static_cast<std::size_t>(outcome)]; }
    double Seconds() const;
    // One line for the status bar and the top of the report window.
    std::string Summary() const;

private:
    static constexpr std::size_t kOutcomes = static_cast<std::size_t>(EFileOutcome::Converted) + 1;

    std::array<int, kOutcomes> m_counts{};
    int m_nConverted = 0;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_stop;
    bool m_bStopped = false;
};
