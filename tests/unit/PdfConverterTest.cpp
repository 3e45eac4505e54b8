// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionFixture.h"
#include "FakeTool.h"
#include "SystemSkip.h"
#include "doc/ReasonWording.h"
#include "extract/ConversionOptions.h"
#include "platform/CancelFlag.h"
#include "platform/FileProbe.h"
#include "platform/MessageTable.h"
#include "platform/PathRules.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <thread>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#ifdef _WIN32
#include "platform/win32/WideText.h"

#include <windows.h>
#endif

namespace
{
using Ids = std::vector<EMessageId>;

// The converter with a fake pdftotext.
class PdfConversion : public ConversionFixture
{
protected:
    using ConversionFixture::Convert;
    bool Convert() { return Convert(m_pdf); }

    CFakeTool m_tool;
    std::string m_pdf = m_dir.Write("doc.pdf", "%PDF-1.4 fake");
    std::string m_text = m_dir / "doc.txt";

    const CRecordedMessage& OnlyMessage() const
    {
        EXPECT_EQ(m_prompts.Messages().size(), 1u);
        return m_prompts.Messages().front();
    }
};

// How the tool ends and what it reports; whether the file is listed follows
// from the exit status and the text file alone.
struct EndingCase
{
    const char* name;
    std::string report;
    int exitStatus;
    int signal;
    bool writesText;
    bool listed;
    std::string shown; // what the message shows after "reported:\n"
};

void PrintTo(const EndingCase& c, std::ostream* out)
{
    *out << c.name;
}

class ToolEnding : public PdfConversion, public ::testing::WithParamInterface<EndingCase>
{
};
} // namespace

TEST_P(ToolEnding, IsJudgedByTheExitStatusAndTheTextFile)
{
    const EndingCase& c = GetParam();
    if (c.signal != 0)
        SKIP_ON_WINDOWS("Windows has no signals that end a program");
    if (c.writesText)
        CFakeTool::Script(m_pdf, c.report, std::string("Some text\n"));
    else
        CFakeTool::Script(m_pdf, c.report, nullptr);
    CFakeTool::EndWith(m_pdf, c.exitStatus, c.signal);
    EXPECT_EQ(Convert(), c.listed);
    // A failed run leaves no text file behind.
    EXPECT_EQ(std::filesystem::exists(m_text), c.listed);
    const CRecordedMessage& message = OnlyMessage();
    EMessageId id = c.listed ? EMessageId::ExtractionWarning : EMessageId::ExtractionFailed;
    EXPECT_EQ(message.ids, Ids{id});
    EXPECT_EQ(message.style, c.listed ? EMessageStyle::Warning : EMessageStyle::Error);
    std::string shown = c.shown;
    // The tool's name in the message is the one it was started by.
    if (std::string tool = CConverterContext::kDefaultToolName; tool != "pdftotext")
    {
        for (size_t at = shown.find("'pdftotext'"); at != std::string::npos;
             at = shown.find("'pdftotext'", at + 1))
            shown.replace(at + 1, 9, tool);
    }
    EXPECT_EQ(message.strText, CMessageTable::Format(id, {m_pdf, shown}));
    // The outcome says the same as data, for front ends without boxes.
    EXPECT_EQ(m_outcome.eKind, c.listed ? EFileOutcome::Warning : EFileOutcome::Failed);
    ASSERT_TRUE(m_outcome.run);
    EXPECT_EQ(m_outcome.run->nSignal, c.signal);
    if (c.signal == 0)
    {
        EXPECT_EQ(m_outcome.run->nExitStatus, c.exitStatus);
    }
    ASSERT_EQ(m_outcome.reasons.size(), 1u);
    EXPECT_EQ(m_outcome.reasons[0].strToolReport, message.strDetails);
    EXPECT_EQ(m_outcome.strTextPath, m_text);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEnding, ToolEnding,
    ::testing::Values(
        EndingCase{"ReportedErrorButSuccess", "Syntax Error: ExtGState 'pgf@CA0.5' is unknown\n", 0,
                   0, true, true, "Syntax Error: ExtGState 'pgf@CA0.5' is unknown"},
        EndingCase{"MarkerDecidesNothing", "Warning: a\nWarning: b (continuing anyway)\n", 0, 0,
                   true, true, "Warning: a\nWarning: b (continuing anyway)"},
        EndingCase{"UnclosedLastLineIsNotShown", "Error: a\nWarning: b (continuing anyway)", 0, 0,
                   true, true, "Error: a"},
        EndingCase{"ErrorStatus", "Error: broken\n", 1, 0, true, false, "Error: broken"},
        EndingCase{"MarkerButErrorStatus", "Syntax Warning: x (continuing anyway)\n", 99, 0, true,
                   false, "Syntax Warning: x (continuing anyway)"},
        EndingCase{"ZeroByteEndsTheChunk", std::string("Error: cut\0hidden\nrest\n", 23), 1, 0,
                   false, false, "Error: cut"},
        EndingCase{"SignalAfterText", "Syntax Error: odd\n", 0, SIGTERM, true, false,
                   "Syntax Error: odd"},
        EndingCase{"SilentErrorStatus", "", 1, 0, false, false,
                   "'pdftotext' ended with exit status 1 (the PDF file could not be opened) and "
                   "reported nothing"},
        EndingCase{"LoneLineFeedIsNoReport", "\n", 2, 0, false, false,
                   "'pdftotext' ended with exit status 2 (the text file could not be opened) and "
                   "reported nothing"},
        EndingCase{"SilentStatusWithoutAMeaning", "", 99, 0, true, false,
                   "'pdftotext' ended with exit status 99 and reported nothing"},
        // Signal 9 is SIGKILL, which Windows does not name.
        EndingCase{"SilentSignal", "", 0, 9, true, false,
                   "'pdftotext' was ended by signal 9 (Killed) and reported nothing"}),
    [](const ::testing::TestParamInfo<EndingCase>& info) { return info.param.name; });

// pdftotext is never given a password: a PDF it finds locked needs one,
// and the workers, whatever else it reports (pdftotext.exe in CR LF); the
// same words in another line, or with success, do not make a lock.
TEST_F(PdfConversion, LockedForTheTool_NeedsAPasswordAndTheWorkers)
{
    const std::string refusal = "Command Line Error: Incorrect password";
    struct Case
    {
        std::string report;
        int exitStatus;
        EFileOutcome kind;
    };
    const Case cases[] = {
        {refusal + "\n", 1, EFileOutcome::NeedsPassword},
        {"Syntax Warning: odd\r\n" + refusal + "\r\n", 1, EFileOutcome::NeedsPassword},
        {refusal + " given\n", 1, EFileOutcome::Failed},
        {refusal + "\n", 99, EFileOutcome::Failed},
        {refusal + "\n", 0, EFileOutcome::Warning},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.report + std::to_string(c.exitStatus));
        m_prompts.Clear();
        std::filesystem::remove(m_text);
        CFakeTool::Script(m_pdf, c.report, std::string("text\n"));
        CFakeTool::EndWith(m_pdf, c.exitStatus);
        EXPECT_EQ(Convert(), c.exitStatus == 0);
        EXPECT_EQ(m_outcome.eKind, c.kind);
        if (c.kind != EFileOutcome::NeedsPassword)
            continue;
        const CRecordedMessage& message = OnlyMessage();
        EXPECT_EQ(message.ids, Ids{EMessageId::PdfLockedNeedsWorkers});
        EXPECT_EQ(message.style, EMessageStyle::Error);
        EXPECT_EQ(message.strText,
                  CMessageTable::Format(EMessageId::PdfLockedNeedsWorkers, {m_pdf}));
        EXPECT_FALSE(std::filesystem::exists(m_text));
    }
}

TEST_F(PdfConversion, EmptyReportAndPrintableText_ListedWithoutAnyMessage)
{
    CFakeTool::Script(m_pdf, "", std::string("Hello world\n"));
    EXPECT_TRUE(Convert());
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_EQ(CTempDir::ReadFile(m_text), "Hello world\n");
    ASSERT_EQ(m_tool.Calls().size(), 1u);
    EXPECT_EQ(m_tool.Calls()[0], "-layout -enc UTF-8 " + m_pdf + " -");
}

TEST_F(PdfConversion, BlankResult_OnlyNewlinesFormFeedsAndReturnsInTheFirst30Bytes)
{
    struct Case
    {
        std::string text;
        bool blank;
    };
    const Case cases[] = {
        {"", true},         {std::string(30, '\f') + "late text", true},
        {"\r\n\f\n", true}, {std::string(29, '\n') + "A", false},
        {" ", false},
    };
    for (const Case& c : cases)
    {
        m_prompts.Clear();
        std::filesystem::remove(m_text);
        CFakeTool::Script(m_pdf, "", c.text);
        EXPECT_TRUE(Convert());
        if (c.blank)
        {
            ASSERT_EQ(m_prompts.Messages().size(), 1u);
            const CRecordedMessage& message = m_prompts.Messages().front();
            EXPECT_EQ(message.ids, Ids{EMessageId::NoTextExtracted});
            EXPECT_EQ(message.style, EMessageStyle::Information);
            EXPECT_NE(message.strText.find("'doc.pdf'"), std::string::npos);
        }
        else
        {
            EXPECT_TRUE(m_prompts.Messages().empty());
        }
    }
}

TEST_F(PdfConversion, WarningThenBlankText_ShowsBothMessages)
{
    CFakeTool::Script(m_pdf, "Syntax Warning: odd (continuing anyway)\n", std::string("\f"));
    EXPECT_TRUE(Convert());
    EXPECT_EQ(m_prompts.FirstIds(),
              (Ids{EMessageId::ExtractionWarning, EMessageId::NoTextExtracted}));
}

TEST_F(PdfConversion, HugeReport_ShownShortenedWithTheWholeReportAsDetails)
{
    std::string report;
    for (int i = 0; i < 8700; ++i)
        report += "Syntax Error (" + std::to_string(i * 91) + "): Illegal character <2f>\n";
    CFakeTool::Script(m_pdf, report, std::string("text"));
    CFakeTool::EndWith(m_pdf, 99);
    EXPECT_FALSE(Convert());
    const CRecordedMessage& message = OnlyMessage();
    EXPECT_LT(message.strText.size(), 4500u);
    EXPECT_NE(message.strText.find("[8675 more lines not shown]."), std::string::npos);
    EXPECT_EQ(message.strDetails, report.substr(0, report.size() - 1));
}

TEST_F(PdfConversion, MissingPdf_InUseMessageNamingThePdf)
{
    std::string missing = m_dir / "gone.pdf";
    EXPECT_FALSE(Convert(missing));
    const CRecordedMessage& message = OnlyMessage();
    EXPECT_EQ(message.ids, (Ids{EMessageId::FileIgnored, EMessageId::FileInUse}));
    EXPECT_EQ(message.style, EMessageStyle::InUse);
    EXPECT_EQ(message.strText, "The file '" + missing +
                                   "' will be ignored.\nThe file is currently being used by "
                                   "another application.");
    EXPECT_TRUE(m_tool.Calls().empty());
}

TEST_F(PdfConversion, PdfHeldOpenByAnotherProgram_InUseMessageOnWindows)
{
#ifdef _WIN32
    HANDLE held = ::CreateFileW(CWideText::FromUtf8(m_pdf).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Convert());
    ::CloseHandle(held);
    const CRecordedMessage& message = OnlyMessage();
    EXPECT_EQ(message.ids, (Ids{EMessageId::FileIgnored, EMessageId::FileInUse}));
    EXPECT_EQ(message.style, EMessageStyle::InUse);
    EXPECT_TRUE(m_tool.Calls().empty());
#else
    GTEST_SKIP() << "Linux lets any number of programs open a file";
#endif
}

TEST_F(PdfConversion, TextPathThatCannotBeOpened_NamesTheTextFileAndDoesNotAsk)
{
    std::filesystem::create_directory(m_text);
    EXPECT_FALSE(Convert());
    const CRecordedMessage& message = OnlyMessage();
    EXPECT_EQ(message.ids, (Ids{EMessageId::FileIgnored, EMessageId::FileInUse}));
    EXPECT_EQ(message.strText.find("The file '" + m_text + "' will be ignored."), 0u);
    EXPECT_TRUE(m_tool.Calls().empty());
}

TEST_F(PdfConversion, ExistingTextAnsweredNo_ToolNotRunOldFileIntact)
{
    m_dir.Write("doc.txt", "old text");
    CFakeTool::Script(m_pdf, "", std::string("new text"));
    m_prompts.AnswerNext(EAnswer::No);
    EXPECT_FALSE(Convert());
    const CRecordedMessage& message = OnlyMessage();
    EXPECT_EQ(message.ids, Ids{EMessageId::OverwriteQuestion});
    EXPECT_EQ(message.style, EMessageStyle::Prompt);
    EXPECT_EQ(message.strText, "File '" + m_text + "' exists.  Overwrite this file?");
    EXPECT_TRUE(m_tool.Calls().empty());
    EXPECT_EQ(CTempDir::ReadFile(m_text), "old text");
}

TEST_F(PdfConversion, ExistingTextAnsweredYes_IsOverwritten)
{
    m_dir.Write("doc.txt", "old text");
    CFakeTool::Script(m_pdf, "", std::string("new text"));
    m_prompts.AnswerNext(EAnswer::Yes);
    EXPECT_TRUE(Convert());
    EXPECT_EQ(m_prompts.FirstIds(), Ids{EMessageId::OverwriteQuestion});
    EXPECT_EQ(CTempDir::ReadFile(m_text), "new text");
}

TEST_F(PdfConversion, ToolNotFound_OneBoxWithTheSystemErrorAndItsNumber)
{
    CTempDir emptyBin;
    CScopedPath onlyEmptyBin(emptyBin.Path());
    EXPECT_FALSE(Convert());
    const CRecordedMessage& message = OnlyMessage();
    EXPECT_EQ(message.ids, (Ids{EMessageId::ToolNotRun, EMessageId::SystemError}));
    EXPECT_EQ(message.style, EMessageStyle::Information);
    // 2 is "file not found" as errno and as a Windows error alike.
    EXPECT_EQ(message.strText, "The file '" + m_pdf + "' will be ignored as '" +
                                   CConverterContext::kDefaultToolName +
                                   "' could not be run.  Check both files exist.\n"
                                   "The following system error occured when processing file "
                                   "'doc.pdf'.\n" +
                                   CSystemErrorText::Describe(2) + "(Error 2).");
}

TEST_F(PdfConversion, Cancel_EndsTheToolRemovesThePartialFileAndSaysNothing)
{
    m_dir.Write("doc.pdf.partial", "half a page");
    m_dir.Write("doc.pdf.sleep", "30");
    CFakeTool::Script(m_pdf, "", std::string("full text"));
    EXPECT_FALSE(Convert(m_pdf, std::chrono::milliseconds(300)));
    EXPECT_TRUE(m_prompts.Messages().empty());
    EXPECT_FALSE(std::filesystem::exists(m_text));
}

TEST_F(PdfConversion, CancelBeforeTheToolWrites_KeepsTheOldTextFile)
{
    m_dir.Write("doc.txt", "old text");
    m_dir.Write("doc.pdf.sleep", "30");
    CFakeTool::Script(m_pdf, "", std::string("new text"));
    m_prompts.AnswerNext(EAnswer::Yes);
    EXPECT_FALSE(Convert(m_pdf, std::chrono::milliseconds(300)));
    EXPECT_EQ(m_prompts.FirstIds(), Ids{EMessageId::OverwriteQuestion});
    EXPECT_EQ(CTempDir::ReadFile(m_text), "old text");
}

TEST_F(PdfConversion, RelativePathStartingWithDash_ReachesTheToolAsAFileName)
{
    std::string dashed = m_dir.Write("-x.pdf", "%PDF fake");
    CFakeTool::Script(dashed, "", std::string("text"));
    std::filesystem::path oldFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    m_context->SetProgramFolder("/");
    bool listed = Convert("-x.pdf");
    std::filesystem::current_path(oldFolder);
    EXPECT_TRUE(listed);
    ASSERT_EQ(m_tool.Calls().size(), 1u);
    std::string call = m_tool.Calls()[0];
    // Windows gives the current folder back with backslashes.
    if (CPathRules::Native().Kind() == CPathRules::EKind::Windows)
        std::replace(call.begin(), call.end(), '\\', '/');
    EXPECT_EQ(call, "-layout -enc UTF-8 " + dashed + " -");
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "-x.txt"), "text");
}

TEST_F(PdfConversion, PathsWithSpacesQuotesAndDollarsPassUnchanged)
{
    // Windows file names cannot hold quotes; its command line has other
    // characters of its own.
    bool windows = CPathRules::Native().Kind() == CPathRules::EKind::Windows;
    std::string name = windows ? "a b %HOME% 'c' ^&" : "a \"b\" $HOME 'c'";
    std::string odd = m_dir.Write(name + ".pdf", "%PDF fake");
    CFakeTool::Script(odd, "", std::string("text"));
    EXPECT_TRUE(Convert(odd));
    EXPECT_EQ(CTempDir::ReadFile(m_dir / (name + ".txt")), "text");
}

namespace
{
struct QuietCase
{
    const char* name;
    const char* exitStatus;
    std::optional<std::string> text; // what the run writes
    bool cancelled;
    bool listed;
    std::optional<std::string> left; // the text file afterwards
};

void PrintTo(const QuietCase& c, std::ostream* out)
{
    *out << c.name;
}

class QuietFinish : public PdfConversion, public ::testing::WithParamInterface<QuietCase>
{
};
} // namespace

// A finished run of a cancelled operation is judged by how it ended, never
// by its report, and shows nothing; a failed one leaves the old text.
TEST_P(QuietFinish, SucceededRunsListedOthersLeaveTheOldText)
{
    const QuietCase& c = GetParam();
    m_dir.Write("doc.txt", "old text");
    CFakeTool::Script(m_pdf, "Syntax Error: reported all the same\n", c.text ? &*c.text : nullptr);
    m_dir.Write("doc.pdf.status", c.exitStatus);
    std::unique_ptr<CConverter> converter = m_table.FindConverter(m_pdf);
    CCancelFlag cancel;
    if (c.cancelled)
        cancel.Request();
    CConversionOptions options;
    CConversionRun run = converter->RunConversion({options, cancel, {}});
    EXPECT_EQ(converter->FinishQuietly(run), c.listed);
    EXPECT_EQ(std::filesystem::exists(m_text) ? CTempDir::ReadFile(m_text) : "(none)",
              c.left.value_or("(none)"));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, QuietFinish,
    ::testing::Values(QuietCase{"ExitZeroWithText", "0", "new", false, true, "new"},
                      QuietCase{"ExitOneWithText", "1", "new", false, false, "old text"},
                      QuietCase{"ExitOneWritingNothing", "1", std::nullopt, false, false,
                                "old text"},
                      QuietCase{"Cancelled", "0", "new", true, false, "old text"}),
    [](const ::testing::TestParamInfo<QuietCase>& info) { return info.param.name; });

namespace
{
enum class EEnding
{
    Success,
    FailureAfterWriting,
    CrashOfTheTool,
    Cancel,
    TimeOut
};

struct ReplacementCase
{
    const char* name;
    EEnding ending;
    EFileOutcome kind;
};

void PrintTo(const ReplacementCase& c, std::ostream* out)
{
    *out << c.name;
}

class TextReplacement : public PdfConversion, public ::testing::WithParamInterface<ReplacementCase>
{
protected:
    // Every run writes part of its text first; how it goes on is the case's.
    void Script(EEnding ending)
    {
        CFakeTool::Script(m_pdf, "", std::string("new text\n"));
        m_dir.Write("doc.pdf.partial", "half\n");
        if (ending == EEnding::FailureAfterWriting)
            CFakeTool::EndWith(m_pdf, 1);
        if (ending == EEnding::CrashOfTheTool)
            CFakeTool::EndWith(m_pdf, 0, SIGSEGV);
        if (ending == EEnding::Cancel || ending == EEnding::TimeOut)
            m_dir.Write("doc.pdf.sleep", "30");
    }

    // The three steps as an add operation takes them, with a cancel once the
    // tool has started and a time limit of a second.
    CFileOutcome RunToEnd(EEnding ending)
    {
        std::filesystem::remove(CTempDir::FsPath(m_pdf + ".started"));
        std::unique_ptr<CConverter> converter = m_table.FindConverter(m_pdf);
        CConversionOptions options;
        options.nTimeLimitSeconds = ending == EEnding::TimeOut ? 1 : 0;
        CCancelFlag cancel;
        std::thread canceller(
            [&]
            {
                if (ending != EEnding::Cancel)
                    return;
                for (int i = 0; i < 400 && !CFileProbe::Exists(m_pdf + ".started"); ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(25));
                cancel.Request();
            });
        CConversionRun run = converter->RunConversion({options, cancel, {}});
        canceller.join();
        return converter->FinishConversion(run);
    }

    std::vector<std::string> Temporaries() const
    {
        std::vector<std::string> names;
        std::vector<std::string> found;
        CFileProbe::ListNames(m_dir.Path(), names);
        for (const std::string& name : names)
        {
            if (CReplacementFile::IsTemporaryName(name))
                found.push_back(name);
        }
        return found;
    }
};
} // namespace

// Whatever way a run ends, the text file holds either its old contents or
// the whole new text, and nothing is left beside it.
TEST_P(TextReplacement, OnlyASucceededRunReplacesTheTextFile)
{
    const ReplacementCase& c = GetParam();
    if (c.ending == EEnding::CrashOfTheTool)
        SKIP_ON_WINDOWS("Windows has no signals that end a program");
    Script(c.ending);
    for (bool present : {false, true})
    {
        SCOPED_TRACE(present ? "old text present" : "no old text");
        std::filesystem::remove(CTempDir::FsPath(m_text));
        if (present)
            m_dir.Write("doc.txt", "old text");
        CFileOutcome outcome = RunToEnd(c.ending);
        bool replaced = c.ending == EEnding::Success;
        std::string expected = replaced ? "half\nnew text\n" : present ? "old text" : "(none)";
        EXPECT_EQ(CFileProbe::Exists(m_text) ? CTempDir::ReadFile(m_text) : "(none)", expected);
        EXPECT_EQ(outcome.bListed, replaced);
        EXPECT_EQ(outcome.eKind, c.kind);
        EXPECT_EQ(Temporaries(), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryEnding, TextReplacement,
    ::testing::Values(
        ReplacementCase{"Success", EEnding::Success, EFileOutcome::Converted},
        ReplacementCase{"FailureAfterWriting", EEnding::FailureAfterWriting, EFileOutcome::Failed},
        ReplacementCase{"CrashOfTheTool", EEnding::CrashOfTheTool, EFileOutcome::Failed},
        ReplacementCase{"Cancel", EEnding::Cancel, EFileOutcome::None},
        ReplacementCase{"TimeOut", EEnding::TimeOut, EFileOutcome::TimedOut}),
    [](const ::testing::TestParamInfo<ReplacementCase>& info) { return info.param.name; });

TEST_F(PdfConversion, TimedOutFile_IsToldWithTheLimit)
{
    m_dir.Write("doc.pdf.sleep", "30");
    std::unique_ptr<CConverter> converter = m_table.FindConverter(m_pdf);
    CConversionOptions options;
    options.nTimeLimitSeconds = 1;
    CCancelFlag cancel;
    CFileOutcome outcome =
        converter->FinishConversion(converter->RunConversion({options, cancel, {}}));
    ASSERT_EQ(outcome.reasons.size(), 1u);
    EXPECT_EQ(CReasonWording::Text(outcome.reasons[0]),
              CMessageTable::Format(EMessageId::TimedOut, {m_pdf, 1}));
}

#ifndef _WIN32
// A text folder that cannot take the whole text (a full disk, here a limit
// on the size of files) is named with the system's reason, and the old text
// stays.
TEST_F(PdfConversion, TextThatCannotBeWrittenWhole_IsToldAndLeavesTheOldText)
{
    m_dir.Write("doc.txt", "old text");
    CFakeTool::Script(m_pdf, "", std::string(200000, 'x'));
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 50000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    m_prompts.AnswerNext(EAnswer::Yes);
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool listed = Convert();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(listed);
    EXPECT_EQ(CTempDir::ReadFile(m_text), "old text");
    ASSERT_EQ(m_prompts.Messages().size(), 2u);
    EXPECT_EQ(
        m_prompts.Messages()[1].strText,
        CMessageTable::Format(EMessageId::TextNotWritten,
                              {m_pdf, m_dir.Path(), CSystemErrorText::Describe(EFBIG), EFBIG}));
}

// Killed without warning, the program takes its tool with it, and the text
// file is as it was. The tool here writes nothing while it waits, so that
// no broken pipe could end it either.
TEST_F(PdfConversion, ProgramKilledWhileConverting_LeavesNoToolAndTheOldText)
{
    m_dir.Write("doc.txt", "old text");
    std::string finished = m_dir / "finished";
    CFakeTool::Script(m_pdf, "", std::string("new text\n"));
    m_dir.Write("doc.pdf.sleep", "2");
    m_dir.Write("doc.pdf.finish", finished);
    m_prompts.AnswerNext(EAnswer::Yes);
    pid_t program = ::fork();
    if (program == 0)
    {
        Convert();
        ::_exit(0);
    }
    ASSERT_GT(program, 0);
    for (int i = 0; i < 200 && !CFileProbe::Exists(m_pdf + ".started"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_FALSE(CFileProbe::Exists(finished));
    EXPECT_EQ(CTempDir::ReadFile(m_text), "old text");
}
#endif
