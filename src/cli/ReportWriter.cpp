// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportWriter.h"

#include "Utf16Text.h"
#include "doc/AddReport.h"
#include "doc/ReasonWording.h"
#include "extract/FileOutcome.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace
{
// Every message about the file, each with the tool's whole report after it
// where the message shows only part of it.
std::string Messages(const CFileOutcome& outcome)
{
    std::string text;
    for (const CReason& reason : outcome.reasons)
    {
        std::string message = CReasonWording::FullText(reason);
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        if (!text.empty())
            text += '\n';
        text += message;
    }
    return text;
}

struct CRunFields
{
    std::string strExitStatus;
    std::string strSignal;
    std::string strSeconds;
};

CRunFields RunFields(const CFileOutcome& outcome)
{
    CRunFields fields;
    if (!outcome.run)
        return fields;
    if (outcome.run->nSignal != 0)
        fields.strSignal = std::to_string(outcome.run->nSignal);
    else
        fields.strExitStatus = std::to_string(outcome.run->nExitStatus);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.3f", outcome.run->dSeconds);
    fields.strSeconds = seconds;
    return fields;
}

// A JSON string. A byte that is not part of valid UTF-8 (a Linux file name
// may hold any) becomes U+FFFD, so that every line stays valid JSON.
std::string JsonString(std::string_view text)
{
    std::string json = "\"";
    while (!text.empty())
    {
        char32_t ignored = 0;
        int length = CUtf16Text::ReadSequence(text, ignored);
        char ch = text[0];
        if (length <= 0)
            json += "\xEF\xBF\xBD";
        else if (ch == '"' || ch == '\\')
            json.append({'\\', ch});
        else if (ch == '\n')
            json += "\\n";
        else if (ch == '\r')
            json += "\\r";
        else if (ch == '\t')
            json += "\\t";
        else if (static_cast<unsigned char>(ch) < 0x20)
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
            json += escaped;
        }
        else
            json.append(text.substr(0, static_cast<std::size_t>(length)));
        text.remove_prefix(length <= 0 ? 1 : static_cast<std::size_t>(length));
    }
    return json + '"';
}

std::string JsonNumber(const std::string& number)
{
    return number.empty() ? "null" : number;
}

std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
} // namespace

CReportWriter::EFormat CReportWriter::FormatOf(const std::string& path)
{
    const std::string jsonl = ".jsonl";
    if (path.size() >= jsonl.size() &&
        path.compare(path.size() - jsonl.size(), jsonl.size(), jsonl) == 0)
        return EFormat::JsonLines;
    return EFormat::Csv;
}

std::string CReportWriter::Header(EFormat format)
{
    if (format == EFormat::JsonLines)
        return {};
    return "source,text,outcome,message,exit_status,signal,seconds\n";
}

std::string CReportWriter::Row(EFormat format, const CFileOutcome& outcome)
{
    CRunFields run = RunFields(outcome);
    std::string message = Messages(outcome);
    std::string token(COutcomeKind::Of(outcome.eKind).strToken);
    if (format == EFormat::Csv)
    {
        return CAddReport::CsvField(outcome.strSourcePath) + ',' +
               CAddReport::CsvField(outcome.strTextPath) + ',' + token + ',' +
               CAddReport::CsvField(message) + ',' + run.strExitStatus + ',' + run.strSignal + ',' +
               run.strSeconds + '\n';
    }
    return "{\"source\":" + JsonString(outcome.strSourcePath) +
           ",\"text\":" + JsonString(outcome.strTextPath) + ",\"outcome\":\"" + token +
           "\",\"message\":" + JsonString(message) +
           ",\"exit_status\":" + JsonNumber(run.strExitStatus) +
           ",\"signal\":" + JsonNumber(run.strSignal) +
           ",\"seconds\":" + JsonNumber(run.strSeconds) + "}\n";
}

int CReportWriter::Open(const std::string& path)
{
    m_eFormat = FormatOf(path);
    errno = 0;
    m_file.open(PathOf(path), std::ios::binary | std::ios::trunc);
    if (!m_file.is_open())
        return errno ? errno : EIO;
    return WriteText(Header(m_eFormat));
}

int CReportWriter::Write(const CFileOutcome& outcome)
{
    return WriteText(Row(m_eFormat, outcome));
}

int CReportWriter::WriteText(const std::string& text)
{
    if (!m_file.is_open())
        return 0;
    errno = 0;
    m_file.write(text.data(), static_cast<std::streamsize>(text.size()));
    m_file.flush();
    if (m_file.good())
        return 0;
    m_file.clear();
    return errno ? errno : EIO;
}
