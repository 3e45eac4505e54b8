// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddTally.h"

#include "platform/MessageTable.h"

#include <cstdio>

CAddTally::CAddTally() : m_start(std::chrono::steady_clock::now()) {}

void CAddTally::Stop()
{
    m_stop = std::chrono::steady_clock::now();
    m_bStopped = true;
}

double CAddTally::Seconds() const
{
    auto end = m_bStopped ? m_stop : std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - m_start).count();
}

// A file that could not be opened is counted as ignored, as its message
// says it is.
std::string CAddTally::Summary() const
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", Seconds());
    std::string beyond;
    if (int read = Count(EFileOutcome::ReadByOcr))
        beyond = " " + CMessageTable::Format(EMessageId::AddReportSummaryOcr, {read});
    if (int garbled = Count(EFileOutcome::Garbled))
        beyond += " " + CMessageTable::Format(EMessageId::AddReportSummaryGarbled, {garbled});
    int upToDate = Count(EFileOutcome::UpToDate);
    int kept = Count(EFileOutcome::Kept);
    if (upToDate + kept > 0)
        beyond += " " + CMessageTable::Format(EMessageId::AddReportSummaryKept, {upToDate, kept});
    if (int timedOut = Count(EFileOutcome::TimedOut))
        beyond += " " + CMessageTable::Format(EMessageId::AddReportSummaryTimedOut, {timedOut});
    if (int shared = Count(EFileOutcome::SharedTextFile))
        beyond += " " + CMessageTable::Format(EMessageId::AddReportSummaryTextFileShared, {shared});
    if (int locked = Count(EFileOutcome::NeedsPassword) + Count(EFileOutcome::WrongPassword))
        beyond += " " + CMessageTable::Format(EMessageId::AddReportSummaryLocked, {locked});
    return CMessageTable::Format(EMessageId::AddReportSummary,
                                 {m_nConverted, Count(EFileOutcome::Warning),
                                  Count(EFileOutcome::NoText), Count(EFileOutcome::NotOverwritten),
                                  Count(EFileOutcome::Ignored) + Count(EFileOutcome::CouldNotOpen),
                                  Count(EFileOutcome::Failed), std::string(seconds)}) +
           beyond;
}
