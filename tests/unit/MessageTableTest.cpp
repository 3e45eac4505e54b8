// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MessageTable.h"
#include "person/MessageBox.h"
#include "platform/PathRules.h"
#include "platform/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <string>
#include <system_error>

TEST(MessageTable, HoldsTheTextsWordForWord)
{
    EXPECT_EQ(CMessageTable::Text(EMessageId::FileIgnored), "The file '%s' will be ignored.\n");
    EXPECT_EQ(CMessageTable::Text(EMessageId::SystemError),
              "%sThe following system error occured when processing file '%s'.\n%s(Error %d).");
    EXPECT_EQ(CMessageTable::Text(EMessageId::OpenFailed), "Failed to open file '%s'.  Error %d.");
    EXPECT_EQ(CMessageTable::Text(EMessageId::MainCaption), "Zelto Extractor - PDF to Text");
    EXPECT_EQ(CMessageTable::Text(EMessageId::FileCountPlaceholder), "<*space holder*>");
    EXPECT_EQ(CMessageTable::Text(EMessageId::DocumentStrings),
              "Zelto\n\nZelto\n\n\nZelto.Document\nZelto Document");
}

TEST(MessageTable, EveryNumberedTextIsPresent)
{
    const int ids[] = {100,   104,   106,   107,   108,   128,   32771, 32779, 32786, 57344, 57345,
                       57346, 57347, 57600, 57637, 57664, 57665, 57667, 57669, 57670, 59137, 59138,
                       59139, 59142, 59143, 59144, 59392, 59393, 59400, 59401, 59402, 59403, 59405,
                       59406, 59407, 59408, 59409, 59410, 59413, 59414, 59415, 59416, 59417};
    for (int id : ids)
        EXPECT_FALSE(CMessageTable::Text(static_cast<EMessageId>(id)).empty()) << id;
    EXPECT_TRUE(CMessageTable::Text(static_cast<EMessageId>(1)).empty());
}

TEST(MessageTable, PromptAndTooltipSplitAtTheLineBreak)
{
    EXPECT_EQ(CMessageTable::Prompt(EMessageId::AddFilePrompt), "Add file(s) to the file list");
    EXPECT_EQ(CMessageTable::Tooltip(EMessageId::AddFilePrompt), "Add file(s) to File List");
    EXPECT_EQ(CMessageTable::Prompt(EMessageId::ShowTipPrompt), "Displays a Tip of the Day.");
    EXPECT_EQ(CMessageTable::Tooltip(EMessageId::ShowTipPrompt), "");
#ifndef _WIN32
    EXPECT_EQ(CMessageTable::Text(EMessageId::ToolsExplorerPrompt),
              "Run the file manager\nRun File Manager");
#endif
}

TEST(MessageFormat, FillsPlaceholdersInOrder)
{
    EXPECT_EQ(CMessageTable::Format(EMessageId::FileCount, {0}), "Files 0");
    EXPECT_EQ(CMessageTable::Format(EMessageId::AddFileFilter, {"*.pdf;", "*.pdf;"}),
              "All Valid (*.pdf;)|*.pdf;||");
    EXPECT_EQ(CMessageTable::Format(EMessageId::SystemError, {"", "a.pdf", "Bad\n", 2}),
              "The following system error occured when processing file 'a.pdf'.\nBad\n(Error 2).");
    EXPECT_EQ(CMessageTable::Format(EMessageId::DispatchException, {0x8000, "why"}),
              "Dispatch exception 8000.\nError why.");
}

TEST(MessageFormat, HexPrintsTheUnsigned32BitPattern)
{
    EXPECT_EQ(CMessageTable::Format(EMessageId::ComException, {-2147467259}),
              "COM Exception 80004005.");
    EXPECT_EQ(CMessageTable::Format(EMessageId::ComException, {255}), "COM Exception ff.");
    EXPECT_EQ(CMessageTable::Format(EMessageId::ComException, {0}), "COM Exception 0.");
}

TEST(MessageFormat, InputIsNeverReadAsAFormat)
{
    // Placeholders inside an argument are copied, not expanded.
    EXPECT_EQ(CMessageTable::Format(EMessageId::FileIgnored, {"/tmp/%s%d%x%n.pdf"}),
              "The file '/tmp/%s%d%x%n.pdf' will be ignored.\n");
}

TEST(MessageFormat, ToleratesMissingAndMismatchedArguments)
{
    EXPECT_EQ(CMessageTable::FormatText("a %s b %d c", {}), "a  b  c");
    EXPECT_EQ(CMessageTable::FormatText("%s|%d", {7, "x"}), "7|x");
    EXPECT_EQ(CMessageTable::FormatText("100%% %q %", {}), "100% %q %");
}

TEST(MessageBoxText, SecondMessageFollowsTheFirstDirectly)
{
    CMessageBox box(EMessageStyle::InUse, EMessageId::FileIgnored, {"/x/a.pdf"});
    box.Then(EMessageId::FileInUse);
    EXPECT_EQ(box.Text(), "The file '/x/a.pdf' will be ignored.\n"
                          "The file is currently being used by another application.");
    EXPECT_EQ(box.Ids(), (std::vector<EMessageId>{EMessageId::FileIgnored, EMessageId::FileInUse}));
    EXPECT_EQ(box.Style(), EMessageStyle::InUse);
}

TEST(SystemErrorText, EndsInALineBreak)
{
    // 2 is "file not found" as errno and as a Windows error alike.
    std::string text = CSystemErrorText::Describe(2);
    EXPECT_EQ(text.find('\n'), text.size() - 1);
    if (CPathRules::Native().Kind() == CPathRules::EKind::Posix)
    {
        EXPECT_EQ(text, "No such file or directory\n");
    }
    EXPECT_EQ(CSystemErrorText::Describe(123456).back(), '\n');
}

// The C library and Windows number their errors differently: each code is
// worded in its own numbering, or an out-of-memory stop would be told as
// some other error.
TEST(SystemErrorText, EveryCodeIsWordedInItsOwnNumbering)
{
    struct CCase
    {
        std::string text;
        const char* word;
    };
    const CCase cases[] = {
        {CSystemErrorText::Describe(CSystemErrorText::OutOfMemoryCode()), "memory"},
        {CSystemErrorText::Describe(
             std::make_error_code(std::errc::resource_unavailable_try_again)),
         "unavailable"},
        {CSystemErrorText::Describe(std::error_code(2, std::system_category())), "file"},
    };
    for (const CCase& each : cases)
    {
        std::string lower = each.text;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(lower.find(each.word), std::string::npos) << each.text;
        EXPECT_EQ(each.text.find('\n'), each.text.size() - 1) << each.text;
    }
}
