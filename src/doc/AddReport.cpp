#include "AddReport.h"

#include "platform/MessageTable.h"

#include <cstdio>

namespace
{
std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char ch : text)
    {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    return quoted + '"';
}

std::string TabField(std::string text)
{
    for (char& ch : text)
    {
        if (ch == '\t' || ch == '\r' || ch == '\n')
            ch = ' ';
    }
    return text;
}

template <typename TField>
std::string Table(const std::vector<const CAddReportRow*>& rows, char separator,
                  const char* lineEnd, TField field)
{
    std::string text = field(CMessageTable::Format(EMessageId::AddReportFileColumn)) + separator +
                       field(CMessageTable::Format(EMessageId::AddReportOutcomeColumn)) +
                       separator +
                       field(CMessageTable::Format(EMessageId::AddReportMessageColumn)) + lineEnd;
    for (const CAddReportRow* row : rows)
    {
        text += field(row->strPath) + separator + field(CAddReport::OutcomeName(row->eOutcome)) +
                separator + field(row->FullMessage()) + lineEnd;
    }
    return text;
}
} // namespace

std::string CAddReportRow::FullMessage() const
{
    if (strDetails.empty() || strMessage.find(strDetails) != std::string::npos)
        return strMessage;
    return strMessage + "\n" + strDetails;
}

CAddReport::CAddReport() : m_start(std::chrono::steady_clock::now()) {}

void CAddReport::Record(CAddReportRow row)
{
    ++m_counts[static_cast<std::size_t>(row.eOutcome)];
    m_rows.push_back(std::move(row));
}

void CAddReport::Stop()
{
    m_stop = std::chrono::steady_clock::now();
    m_bStopped = true;
}

int CAddReport::Count(EFileOutcome outcome) const
{
    return m_counts[static_cast<std::size_t>(outcome)];
}

bool CAddReport::HasUnseenRows() const
{
    for (const CAddReportRow& row : m_rows)
    {
        if (!row.bShown)
            return true;
    }
    return false;
}

double CAddReport::Seconds() const
{
    auto end = m_bStopped ? m_stop : std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - m_start).count();
}

// A file that could not be opened is counted as ignored, as its message
// says it is.
std::string CAddReport::Summary() const
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", Seconds());
    std::string beyond;
    if (int read = Count(EFileOutcome::ReadByOcr))
        beyond = " " + CMessageTable::Format(EMessageId::AddReportSummaryOcr, {read});
    int upToDate = Count(EFileOutcome::UpToDate);
    int kept = Count(EFileOutcome::Kept);
    if (upToDate + kept > 0)
        beyond += " " + CMessageTable::Format(EMessageId::AddReportSummaryKept, {upToDate, kept});
    if (int timedOut = Count(EFileOutcome::TimedOut))
        beyond += " " + CMessageTable::Format(EMessageId::AddReportSummaryTimedOut, {timedOut});
    return CMessageTable::Format(EMessageId::AddReportSummary,
                                 {m_nConverted, Count(EFileOutcome::Warning),
                                  Count(EFileOutcome::NoText), Count(EFileOutcome::NotOverwritten),
                                  Count(EFileOutcome::Ignored) + Count(EFileOutcome::CouldNotOpen),
                                  Count(EFileOutcome::Failed), std::string(seconds)}) +
           beyond;
}

std::string CAddReport::OutcomeName(EFileOutcome outcome)
{
    switch (outcome)
    {
    case EFileOutcome::Warning:
        return CMessageTable::Format(EMessageId::OutcomeWarning);
    case EFileOutcome::NoText:
        return CMessageTable::Format(EMessageId::OutcomeNoText);
    case EFileOutcome::NotOverwritten:
        return CMessageTable::Format(EMessageId::OutcomeNotOverwritten);
    case EFileOutcome::Ignored:
        return CMessageTable::Format(EMessageId::OutcomeIgnored);
    case EFileOutcome::CouldNotOpen:
        return CMessageTable::Format(EMessageId::OutcomeCouldNotOpen);
    case EFileOutcome::Failed:
        return CMessageTable::Format(EMessageId::OutcomeFailed);
    case EFileOutcome::ReadByOcr:
        return CMessageTable::Format(EMessageId::OutcomeReadByOcr);
    case EFileOutcome::TimedOut:
        return CMessageTable::Format(EMessageId::OutcomeTimedOut);
    case EFileOutcome::UpToDate:
        return CMessageTable::Format(EMessageId::OutcomeUpToDate);
    case EFileOutcome::Kept:
        return CMessageTable::Format(EMessageId::OutcomeKept);
    case EFileOutcome::None:
    case EFileOutcome::Converted:
        break;
    }
    return {};
}

std::string CAddReport::Csv(const std::vector<const CAddReportRow*>& rows)
{
    return Table(rows, ',', "\r\n", CsvField);
}

std::string CAddReport::TabSeparated(const std::vector<const CAddReportRow*>& rows)
{
    return Table(rows, '\t', "\n", TabField);
}
