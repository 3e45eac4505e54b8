// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddReport.h"

#include "ReasonWording.h"
#include "platform/MessageTable.h"

namespace
{
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

std::string CAddReport::CsvField(const std::string& text)
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

std::string CAddReportRow::FullMessage() const
{
    return CReasonWording::FullText(strMessage, strDetails);
}

void CAddReport::Record(CAddReportRow row)
{
    m_tally.Count(row.eOutcome);
    m_rows.push_back(std::move(row));
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

std::string CAddReport::OutcomeName(EFileOutcome outcome)
{
    std::optional<EMessageId> name = COutcomeKind::Of(outcome).nameId;
    return name ? CMessageTable::Format(*name) : std::string();
}

std::string CAddReport::Csv(const std::vector<const CAddReportRow*>& rows)
{
    return Table(rows, ',', "\r\n", &CAddReport::CsvField);
}

std::string CAddReport::TabSeparated(const std::vector<const CAddReportRow*>& rows)
{
    return Table(rows, '\t', "\n", TabField);
}
