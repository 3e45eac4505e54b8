// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/ConverterTable.h"
#include "extract/ConverterContext.h"

#include <gtest/gtest.h>

TEST(ConverterTable, FindConverterMakesOneForAcceptedPathsOnly)
{
    CConverterTable table(std::make_shared<CConverterContext>());
    std::unique_ptr<CConverter> pdf = table.FindConverter("/docs/Report.PDF");
    ASSERT_NE(pdf, nullptr);
    EXPECT_EQ(pdf->m_strSourcePath, "/docs/Report.PDF");
    EXPECT_EQ(pdf->m_strTextPath, "/docs/Report.txt");
    EXPECT_EQ(table.FindConverter("/docs/readme.doc"), nullptr);
    EXPECT_EQ(table.FindConverter("/docs/report.pdf.bak"), nullptr);
}

TEST(ConverterTable, GetExtensionsReplacesTheListWithPdf)
{
    CConverterTable table(std::make_shared<CConverterContext>());
    std::list<std::string> extensions{"old", "entries"};
    table.GetExtensions(extensions);
    EXPECT_EQ(extensions, (std::list<std::string>{"pdf"}));
}

TEST(ConverterTable, ConvertersShareTheContextSetLater)
{
    auto context = std::make_shared<CConverterContext>();
    CConverterTable table(context);
    table.Context().SetProgramFolder("/opt/zelto/");
    EXPECT_EQ(context->ProgramFolder(), "/opt/zelto/");
    bool windows = CPathRules::Native().Kind() == CPathRules::EKind::Windows;
    EXPECT_EQ(context->ToolName(), windows ? "pdftotext.exe" : "pdftotext");
}
