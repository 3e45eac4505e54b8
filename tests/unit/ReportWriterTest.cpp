// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ReportWriter.h"
#include "extract/FileOutcome.h"

#include <gtest/gtest.h>

namespace
{
CFileOutcome Ran(const std::string& source, int status, int signal)
{
    CFileOutcome outcome;
    outcome.strSourcePath = source;
    outcome.strTextPath = "out.txt";
    outcome.run = CRunFacts{status, signal, 1.25, false};
    return outcome;
}

CFileOutcome Failed()
{
    CFileOutcome outcome = Ran("a,\"b\".pdf", 1, 0);
    outcome.Add(CReason(EFileOutcome::Failed, "x", EMessageId::FileIgnored, {"x"}));
    outcome.bListed = false;
    return outcome;
}
} // namespace

// The fields a program reads: quoted where CSV needs it, the tool's end
// only when it ran, and a signal in place of an exit status.
TEST(ReportWriter, CsvRowsHoldTheRunsEnd)
{
    using F = CReportWriter::EFormat;
    EXPECT_EQ(CReportWriter::Row(F::Csv, Ran("a.pdf", 0, 0)),
              "a.pdf,out.txt,converted,,0,,1.250\n");
    EXPECT_EQ(CReportWriter::Row(F::Csv, Ran("a.pdf", 0, 11)),
              "a.pdf,out.txt,converted,,,11,1.250\n");
    EXPECT_EQ(CReportWriter::Row(F::Csv, Failed()),
              "\"a,\"\"b\"\".pdf\",out.txt,failed,The file 'x' will be ignored.,1,,1.250\n");
    CFileOutcome kept = CFileOutcome::Dropped(
        "k.pdf", CReason(EFileOutcome::Kept, "k.pdf", EMessageId::TextKept, {"k.txt"}));
    std::string keptRow = CReportWriter::Row(F::Csv, kept);
    EXPECT_EQ(keptRow.substr(0, 12), "k.pdf,,kept,");
    EXPECT_EQ(keptRow.substr(keptRow.size() - 4), ",,,\n");
}

// Each line is one valid JSON object, whatever bytes a file name holds.
TEST(ReportWriter, JsonLinesEscapeEveryName)
{
    using F = CReportWriter::EFormat;
    EXPECT_EQ(CReportWriter::Row(F::JsonLines, Ran("dir\\\"q\"\t\x01.pdf", 0, 9)),
              "{\"source\":\"dir\\\\\\\"q\\\"\\t\\u0001.pdf\",\"text\":\"out.txt\","
              "\"outcome\":\"converted\",\"message\":\"\",\"exit_status\":null,\"signal\":9,"
              "\"seconds\":1.250}\n");
    // Not UTF-8: a lone continuation byte, a cut sequence, an overlong form.
    std::string row = CReportWriter::Row(F::JsonLines, Ran("\x80-\xE6\x96-\xC0\xAF-文.pdf", 0, 0));
    EXPECT_NE(row.find("\"\xEF\xBF\xBD-\xEF\xBF\xBD\xEF\xBF\xBD-\xEF\xBF\xBD\xEF\xBF\xBD-文.pdf\""),
              std::string::npos)
        << row;
}
