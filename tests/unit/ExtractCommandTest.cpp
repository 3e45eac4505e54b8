// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExtractCommand.h"
#include "FakeTool.h"
#include "LockedPdfs.h"
#include "PdfMaker.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "cli/ExtractArguments.h"
#include "platform/MessageTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <thread>
#include <tuple>

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace
{
// The rows of a CSV report by source: outcome, exit status, signal. Rows
// met twice are kept twice.
std::multimap<std::string, std::vector<std::string>> ReportRows(const std::string& path)
{
    std::string text = CTempDir::ReadFile(path);
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        char ch = text[i];
        if (quoted && ch == '"' && i + 1 < text.size() && text[i + 1] == '"')
            rows.back().back() += text[++i];
        else if (ch == '"')
            quoted = !quoted;
        else if (!quoted && ch == ',')
            rows.back().emplace_back();
        else if (!quoted && ch == '\n')
            rows.emplace_back(1);
        else
            rows.back().back() += ch;
    }
    std::multimap<std::string, std::vector<std::string>> bySource;
    for (std::size_t i = 1; i < rows.size(); ++i)
    {
        if (rows[i].size() == 7)
            bySource.emplace(rows[i][0],
                             std::vector<std::string>{rows[i][2], rows[i][4], rows[i][5]});
    }
    return bySource;
}

std::string Outcome(const std::multimap<std::string, std::vector<std::string>>& rows,
                    const std::string& source)
{
    auto row = rows.find(source);
    return row == rows.end() ? "(no row)" : row->second[0];
}

class ExtractCommand : public ::testing::Test
{
protected:
    int Run(const std::vector<std::string>& arguments)
    {
        m_err.clear();
        CExtractCommand command(Streams());
        return command.Run(arguments);
    }

    CCommandStreams Streams()
    {
        CCommandStreams streams;
        streams.writeOutput = [this](std::string_view text) { m_out += text; };
        streams.writeError = [this](std::string_view text) { m_err += text; };
        streams.readInput = [this](char* buffer, std::size_t size) -> long
        {
            std::size_t count = std::min(size, m_input.size() - m_nInputAt);
            std::memcpy(buffer, m_input.data() + m_nInputAt, count);
            m_nInputAt += count;
            return static_cast<long>(count);
        };
        streams.bInputIsTerminal = m_bTerminal;
        streams.stopRequest = [] { return 0; };
        streams.strWorkerProgram = m_strWorker;
        return streams;
    }

    std::string Pdf(const std::string& name, const std::string& text = "Text\n")
    {
        std::string path = m_dir.Write(name, "%PDF-1.4\n");
        CFakeTool::Script(path, "", text);
        return path;
    }

    CFakeTool m_tool;
    CTempDir m_dir;
    std::string m_out;
    std::string m_err;
    std::string m_input;
    std::size_t m_nInputAt = 0;
    bool m_bTerminal = false;
    std::string m_strWorker;
};
} // namespace

// Files from two folders put flat into one text folder: the second of two
// PDFs of one name fails the run, its text never written, at one and at two
// conversions at once, and even when the rule would replace the text.
TEST_F(ExtractCommand, SecondPdfOfOneTextFile_FailsAndTheFirstTextStays)
{
    std::string first = Pdf("one/report.pdf", "first\n");
    std::string second = Pdf("two/report.pdf", "second\n");
    m_dir.Write("one/report.pdf.sleep", "0.3");
    for (const char* jobs : {"1", "2"})
    {
        SCOPED_TRACE(jobs);
        std::string report = m_dir / "r.csv";
        EXPECT_EQ(Run({"--jobs", jobs, "--existing", "replace", "--text-folder", m_dir / "texts",
                       "--report", report, first, second}),
                  CExtractCommand::kExitFailed);
        auto rows = ReportRows(report);
        EXPECT_EQ(Outcome(rows, first), "converted");
        EXPECT_EQ(Outcome(rows, second), "shared-text-file");
        EXPECT_EQ(CTempDir::ReadFile(m_dir / "texts/report.txt"), "first\n");
        EXPECT_NE(m_err.find(second), std::string::npos) << m_err;
        std::filesystem::remove(CTempDir::FsPath(m_dir / "texts/report.txt"));
    }
}

TEST_F(ExtractCommand, EveryOutcomeHasItsRow_AndAFailureFailsTheRun)
{
    Pdf("in/good.pdf");
    CFakeTool::Script(Pdf("in/warn.pdf"), "Syntax Warning: odd\n", "Text\n");
    CFakeTool::Script(Pdf("in/blank.pdf"), "", nullptr);
    std::string broken = Pdf("in/broken.pdf");
    CFakeTool::Script(broken, "Syntax Error: bad\n", nullptr);
    CFakeTool::EndWith(broken, 1);
    m_dir.Write("in/slow.pdf.sleep", "30");
    Pdf("in/slow.pdf");
    m_dir.Write("in/notes.doc", "x");
    Pdf("in/old.pdf");
    m_dir.Write("in/old.txt", "old");
#ifndef _WIN32
    CFakeTool::EndWith(Pdf("in/killed.pdf"), 0, SIGKILL);
#endif
    std::string report = m_dir / "r.csv";

    EXPECT_EQ(Run({"--jobs", "2", "--time-limit", "1", "--report", report, m_dir / "in",
                   m_dir / "typo.pdf"}),
              CExtractCommand::kExitFailed);

    auto rows = ReportRows(report);
    std::string in = m_dir / "in/";
    EXPECT_EQ(Outcome(rows, in + "notes.doc"), "ignored");
    // The fake tool's instructions beside the files are no PDFs either.
    std::erase_if(rows, [](const auto& row) { return row.second[0] == "ignored"; });
    EXPECT_EQ(Outcome(rows, in + "good.pdf"), "converted");
    EXPECT_EQ(Outcome(rows, in + "warn.pdf"), "warning");
    EXPECT_EQ(Outcome(rows, in + "blank.pdf"), "no-text");
    EXPECT_EQ(Outcome(rows, in + "broken.pdf"), "failed");
    EXPECT_EQ(rows.find(in + "broken.pdf")->second[1], "1");
    EXPECT_EQ(Outcome(rows, in + "slow.pdf"), "timed-out");
    EXPECT_EQ(Outcome(rows, in + "old.pdf"), "kept");
    // A path given that is not there is told, not passed over.
    EXPECT_EQ(Outcome(rows, m_dir / "typo.pdf"), "could-not-open");
    EXPECT_EQ(CTempDir::ReadFile(in + "old.txt"), "old");
#ifndef _WIN32
    EXPECT_EQ(Outcome(rows, in + "killed.pdf"), "failed");
    EXPECT_EQ(rows.find(in + "killed.pdf")->second[2], std::to_string(SIGKILL));
    EXPECT_EQ(rows.size(), 8u);
#else
    EXPECT_EQ(rows.size(), 7u);
#endif
    // Problems are told; what is not a PDF and text kept are not.
    EXPECT_NE(m_err.find("broken.pdf"), std::string::npos);
    EXPECT_EQ(m_err.find("notes.doc"), std::string::npos);
    EXPECT_EQ(m_err.find("old.pdf"), std::string::npos);
}

// Every locked PDF that one of the file's passwords opens converts,
// whichever lock it has; one that none opens is reported, and fails the
// run, as does any without a password.
TEST_F(ExtractCommand, LockedPdfsConvertWithThePasswordFile)
{
#ifndef ZELTO_WORKER_PROGRAM
    GTEST_SKIP() << "no extraction worker in this build";
#else
    m_strWorker = ZELTO_WORKER_PROGRAM;
#endif
    std::string source = m_dir.Write("source.pdf", CLockedPdfs::Source());
    m_dir.MakeFolder("in");
    // Each file's name and qpdf's --encrypt arguments.
    const std::vector<std::pair<std::string, std::vector<std::string>>> locked = {
        {"aes256.pdf", {"first", "o1", "256"}},
        {"rc4.pdf", {"u2", "second", "128", "--use-aes=n"}},
        {"rc4-40.pdf", {"third", "o3", "40"}},
        {"unknown.pdf", {"nobody knows", "o4", "256"}},
    };
    for (const auto& [name, encryption] : locked)
        ASSERT_TRUE(CLockedPdfs::Lock(source, m_dir / ("in/" + name), encryption))
            << "qpdf missing: run scripts/install-deps.sh";
    std::string passwords = m_dir.Write("passwords.txt", "wrong\r\nfirst\nsecond\nthird\n");
    std::string report = m_dir / "r.csv";
    for (const auto& [options, outcomes] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--password-file", passwords}, "converted converted converted wrong-password "},
             {{}, "needs-password needs-password needs-password needs-password "}})
    {
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), {"--existing", "replace", "--text-folder",
                                           m_dir / "texts", "--report", report, m_dir / "in"});
        EXPECT_EQ(Run(arguments), CExtractCommand::kExitFailed);
        auto rows = ReportRows(report);
        std::string found;
        for (const auto& [name, encryption] : locked)
            found += Outcome(rows, m_dir / ("in/" + name)) + " ";
        EXPECT_EQ(found, outcomes);
    }
    EXPECT_NE(CTempDir::ReadFile(m_dir / "texts/in/rc4.txt").find("Opening balance"),
              std::string::npos);
}

// A file with garbled pages is converted, with its pages named, and fails
// nothing; without the check it is converted without a word.
TEST_F(ExtractCommand, GarbledPdfIsConvertedWithItsPagesNamed)
{
#ifndef ZELTO_WORKER_PROGRAM
    GTEST_SKIP() << "no extraction worker in this build";
#else
    m_strWorker = ZELTO_WORKER_PROGRAM;
#endif
    std::string pdf = m_dir / "in/mixed.pdf";
    m_dir.MakeFolder("in");
    std::filesystem::copy_file(CTempDir::FsPath(ZELTO_GARBLED_FIXTURES "/mixed.pdf"),
                               CTempDir::FsPath(pdf));
    std::string report = m_dir / "r.csv";
    for (const auto& [options, outcome] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--no-garbled-check"}, "converted"}, {{}, "garbled"}})
    {
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), {"--existing", "replace", "--report", report, pdf});
        EXPECT_EQ(Run(arguments), CExtractCommand::kExitDone);
        EXPECT_EQ(Outcome(ReportRows(report), pdf), outcome);
    }
    EXPECT_NE(m_err.find("pages 2-3"), std::string::npos) << m_err;
    EXPECT_NE(m_err.find(CMessageTable::Format(EMessageId::AddReportSummaryGarbled, {1})),
              std::string::npos)
        << m_err;
    EXPECT_NE(CTempDir::ReadFile(m_dir / "in/mixed.txt").find('\f'), std::string::npos);
}

// A password file others may read is used, with a warning; one that cannot
// be read stops the command before anything converts.
TEST_F(ExtractCommand, PasswordFileOthersMayRead_IsWarnedOf_AndOneNotThereStopsTheRun)
{
    SKIP_ON_WINDOWS("Windows has no read bits for group and others");
    std::string pdf = Pdf("in/a.pdf");
    std::string passwords = m_dir.Write("passwords.txt", "secret\n");
    using P = std::filesystem::perms;
    for (auto [perms, quiet, warned] : {std::tuple{P::owner_read | P::group_read, false, true},
                                        std::tuple{P::owner_read | P::others_read, true, false},
                                        std::tuple{P::owner_read | P::owner_write, false, false}})
    {
        std::filesystem::permissions(passwords, perms);
        std::vector<std::string> arguments{"--password-file", passwords, pdf};
        if (quiet)
            arguments.push_back("-q");
        EXPECT_EQ(Run(arguments), CExtractCommand::kExitDone);
        EXPECT_EQ(m_err.find("may read the password file") != std::string::npos, warned) << m_err;
        EXPECT_EQ(m_err.find("secret"), std::string::npos);
    }
    EXPECT_EQ(Run({"--password-file", m_dir / "missing.txt", pdf}), CExtractCommand::kExitUsage);
    EXPECT_NE(m_err.find("the password file '" + (m_dir / "missing.txt") + "' could not be read"),
              std::string::npos)
        << m_err;
}

TEST_F(ExtractCommand, ConvertedOrSkippedExitsZero_AndASecondRunConvertsOnlyWhatIsNew)
{
    Pdf("in/good.pdf");
    CFakeTool::Script(Pdf("in/warn.pdf"), "Syntax Warning: odd\n", "Text\n");
    CFakeTool::Script(Pdf("in/sub/blank.pdf"), "", nullptr);
    m_dir.Write("in/notes.doc", "x");
    EXPECT_EQ(Run({m_dir / "in"}), CExtractCommand::kExitDone);
    EXPECT_EQ(m_tool.Calls().size(), 3u);

    Pdf("in/sub/new.pdf");
    std::string report = m_dir / "second.csv";
    EXPECT_EQ(Run({"--report", report, m_dir / "in"}), CExtractCommand::kExitDone);
    EXPECT_EQ(m_tool.Calls().size(), 4u);
    auto rows = ReportRows(report);
    EXPECT_EQ(Outcome(rows, m_dir / "in/sub/new.pdf"), "converted");
    EXPECT_EQ(Outcome(rows, m_dir / "in/good.pdf"), "kept");
    EXPECT_EQ(Outcome(rows, m_dir / "in/sub/blank.pdf"), "kept");
}

// Three machines given the same paths, each its own share, by a folder, a
// list file and a list on the standard input: every PDF is converted once
// and listed once.
TEST_F(ExtractCommand, SharesOfARunConvertEveryFileOnce)
{
    std::string list;
    for (int i = 0; i < 24; ++i)
        list += Pdf("in/" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".pdf") + "\r\n";
    m_dir.Write("list.txt", list);
    m_input = list;
    std::replace(m_input.begin(), m_input.end(), '\n', '\0');
    std::string out = m_dir / "out";
    std::vector<std::vector<std::string>> runs = {{"--shard", "1/3", m_dir / "in"},
                                                  {"--shard", "2/3", "--from", m_dir / "list.txt"},
                                                  {"--shard", "3/3", "--from", "-", "-0"}};
    std::map<std::string, int> converted;
    for (std::size_t k = 0; k < runs.size(); ++k)
    {
        // The list's CR before each NUL is a name's last character, which
        // names no file: the NUL-separated list is given without them.
        if (k == 2)
            m_input.erase(std::remove(m_input.begin(), m_input.end(), '\r'), m_input.end());
        std::string report = m_dir / ("r" + std::to_string(k) + ".csv");
        std::vector<std::string> arguments = runs[k];
        arguments.insert(arguments.begin(), {"--text-folder", out, "--report", report});
        EXPECT_EQ(Run(arguments), CExtractCommand::kExitDone) << m_err;
        for (const auto& [source, fields] : ReportRows(report))
        {
            if (fields[0] == "converted")
                ++converted[std::filesystem::path(source).filename().string()];
        }
    }
    EXPECT_EQ(m_tool.Calls().size(), 24u);
    EXPECT_EQ(converted.size(), 24u);
    for (const auto& [name, count] : converted)
        EXPECT_EQ(count, 1) << name;
}

TEST_F(ExtractCommand, AsksOnATerminalOnlyWhenToldTo)
{
    for (const char* name : {"a", "b", "c"})
    {
        Pdf(std::string("in/") + name + ".pdf", "new");
        m_dir.Write(std::string("in/") + name + ".txt", "old");
    }
    std::string report = m_dir / "r.csv";
    // Not a terminal: the text is kept, and the person told why.
    EXPECT_EQ(Run({"--existing", "ask", m_dir / "in"}), CExtractCommand::kExitDone);
    EXPECT_NE(m_err.find("--existing ask"), std::string::npos);
    EXPECT_TRUE(m_tool.Calls().empty());

    // An answer that is no choice is asked again; "s" skips the rest.
    m_bTerminal = true;
    m_input = "maybe\ny\ns\n";
    EXPECT_EQ(Run({"--existing", "ask", "--report", report, m_dir / "in"}),
              CExtractCommand::kExitDone);
    auto rows = ReportRows(report);
    EXPECT_EQ(Outcome(rows, m_dir / "in/a.pdf"), "converted");
    EXPECT_EQ(Outcome(rows, m_dir / "in/b.pdf"), "not-overwritten");
    EXPECT_EQ(Outcome(rows, m_dir / "in/c.pdf"), "not-overwritten");
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "in/a.txt"), "new");
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "in/c.txt"), "old");
}

namespace
{
struct SettingsCase
{
    const char* name;
    const char* settingsFile; // null: no --settings
    std::vector<std::string> options;
    std::function<bool(const CAddSettings&)> holds;
};

void PrintTo(const SettingsCase& c, std::ostream* out)
{
    *out << c.name;
}

class ExtractSettings : public ExtractCommand, public ::testing::WithParamInterface<SettingsCase>
{
};
} // namespace

// A script behaves the same for every user unless it names a settings
// file; options win over the file, and the window's "ask" is no rule for a
// script.
TEST_P(ExtractSettings, ComeFromTheOptionsOverTheNamedFile)
{
    const SettingsCase& c = GetParam();
    std::vector<std::string> arguments = c.options;
    if (c.settingsFile)
    {
        arguments.push_back("--settings");
        arguments.push_back(m_dir.Write("Zelto.conf", c.settingsFile));
    }
    arguments.push_back("x.pdf");
    CExtractArguments::CResult parsed = CExtractArguments::Parse(arguments);
    ASSERT_EQ(parsed.strError, "");
    CAddSettings settings;
    CExtractCommand command(Streams());
    ASSERT_TRUE(command.MakeSettings(parsed.options, settings));
    EXPECT_TRUE(c.holds(settings));
}

INSTANTIATE_TEST_SUITE_P(
    EverySource, ExtractSettings,
    ::testing::Values(
        SettingsCase{"DefaultsWithoutAFile",
                     nullptr,
                     {},
                     [](const CAddSettings& s)
                     {
                         return s.nConversionsAtOnce == CAddOptions::DefaultConversionsAtOnce() &&
                                s.conversion.nTimeLimitSeconds == 600 &&
                                s.eExistingText == EExistingText::Keep &&
                                s.conversion.form.bPageBreaks && !s.conversion.ocr.bWanted &&
                                s.strTextFolder.empty() && s.conversion.bGarbledCheck;
                     }},
        SettingsCase{"TheFilesChoices",
                     "[General]\nConversions%20at%20once=3\nTime%20limit%20per%20file=30\n"
                     "Text%20layout=2\nLine%20ends=1\nExisting%20text=2\n"
                     "Garbled%20text%20check=0\n",
                     {},
                     [](const CAddSettings& s)
                     {
                         return s.nConversionsAtOnce == 3 && s.conversion.nTimeLimitSeconds == 30 &&
                                !s.conversion.bGarbledCheck &&
                                s.conversion.form.eLayout == CTextForm::ELayout::Raw &&
                                s.conversion.form.bCrLf &&
                                s.eExistingText == EExistingText::ReplaceWhenNewer;
                     }},
        SettingsCase{"AskInTheFileKeeps",
                     "[General]\nExisting%20text=0\n",
                     {},
                     [](const CAddSettings& s) { return s.eExistingText == EExistingText::Keep; }},
        SettingsCase{"OptionsWin",
                     "[General]\nConversions%20at%20once=3\nText%20layout=2\nExisting%20text=1\n",
                     {"-j", "1", "--layout", "physical", "--existing", "replace",
                      "--no-page-breaks", "--bom", "--time-limit", "0", "--no-garbled-check"},
                     [](const CAddSettings& s)
                     {
                         if (s.conversion.bGarbledCheck)
                             return false;
                         return s.nConversionsAtOnce == 1 &&
                                s.conversion.form.eLayout == CTextForm::ELayout::Physical &&
                                s.eExistingText == EExistingText::Replace &&
                                !s.conversion.form.bPageBreaks &&
                                s.conversion.form.bByteOrderMark &&
                                s.conversion.nTimeLimitSeconds == 0;
                     }}));

TEST_F(ExtractCommand, UnusableArgumentsOrFilesExitTwoBeforeAnythingIsConverted)
{
    Pdf("in/a.pdf");
    for (std::vector<std::string> arguments :
         {std::vector<std::string>{"--jobs", "x", m_dir / "in"},
          {"--settings", m_dir / "none.conf", m_dir / "in"},
          {"--from", m_dir / "none.txt", m_dir / "in"},
          {"--report", m_dir / "no/such/folder/r.csv", m_dir / "in"}})
    {
        EXPECT_EQ(Run(arguments), CExtractCommand::kExitUsage) << arguments[0];
        EXPECT_NE(m_err.find("zelto-extract: "), std::string::npos);
    }
    EXPECT_TRUE(m_tool.Calls().empty());
}

namespace
{
std::set<std::string> LongOptions(const std::string& text)
{
    std::set<std::string> options;
    std::regex option("--[a-z][a-z0-9-]*");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        options.insert(it->str());
    return options;
}
} // namespace

// The manual page and --help name the same options, and the command takes
// every one of them.
TEST_F(ExtractCommand, HelpAndManualPageNameTheOptionsItTakes)
{
    EXPECT_EQ(Run({"--help"}), CExtractCommand::kExitDone);
    // Its examples name other programs' options too.
    std::string manual = CTempDir::ReadFile(ZELTO_MANUAL_PAGE);
    manual = manual.substr(0, manual.find(".SH EXAMPLES"));
    manual = std::regex_replace(manual, std::regex(R"(\\-)"), "-");
    std::set<std::string> helped = LongOptions(m_out);
    EXPECT_EQ(helped, LongOptions(manual));
    EXPECT_GT(helped.size(), 15u);
    for (const std::string& option : helped)
    {
        CExtractArguments::CResult parsed = CExtractArguments::Parse({option, "1/1", "x"});
        EXPECT_EQ(parsed.strError.find("unrecognized"), std::string::npos) << option;
    }
}

#ifndef _WIN32
namespace
{
// Starts the built command with its error stream on /dev/null.
pid_t Start(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    std::string program = ZELTO_EXTRACT_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Asks `condition` until it holds, for up to 15 s.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 300; ++i)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// Whether a process of the system has the text in its command line.
bool AnyProcessNames(const std::string& text)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc"))
    {
        std::string commandLine = CTempDir::ReadFile(entry.path().string() + "/cmdline");
        if (commandLine.find(text) != std::string::npos)
            return true;
    }
    return false;
}
} // namespace

TEST_F(ExtractCommand, SigintEndsTheToolsAndKeepsWhatWasFinished)
{
    Pdf("in/a.pdf");
    std::string slow = Pdf("in/b-slow-tool-run.pdf");
    m_dir.Write("in/b-slow-tool-run.pdf.sleep", "60");
    std::string report = m_dir / "r.jsonl";
    pid_t pid = Start({"--jobs", "1", "--engine", "pdftotext", "--report", report, m_dir / "in"});
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(slow + ".started"); }));

    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_TRUE(WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }));
    ASSERT_TRUE(WIFEXITED(status)) << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 130);
    std::string rows = CTempDir::ReadFile(report);
    EXPECT_NE(rows.find("a.pdf\",\"text\":"), std::string::npos) << rows;
    EXPECT_EQ(rows.find("b-slow-tool-run.pdf\","), std::string::npos) << rows;
    EXPECT_EQ(rows.back(), '\n');
    EXPECT_EQ(CTempDir::ReadFile(m_dir / "in/a.txt"), "Text\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "in/b-slow-tool-run.txt"));
    EXPECT_TRUE(WaitFor([] { return !AnyProcessNames("b-slow-tool-run"); }));
}

namespace
{
void WriteScript(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
} // namespace

// GNU parallel hands chunks of a list to three "hosts": a stand-in for ssh
// runs each job as a process of its own with an environment of its own, as
// a remote login would. The real pdftotext converts, through a wrapper that
// logs each run.
TEST_F(ExtractCommand, GnuParallelOverThreeHostsConvertsEveryPdfOnce)
{
    if (std::system("command -v parallel >/dev/null && command -v perl >/dev/null") != 0 ||
        !std::filesystem::exists("/usr/bin/pdftotext"))
        GTEST_SKIP() << "needs GNU parallel, perl and /usr/bin/pdftotext";
    const int kFiles = 30;
    std::string list;
    for (int i = 0; i < kFiles; ++i)
    {
        std::string path =
            m_dir / ("in/" + std::to_string(i % 4) + "/doc " + std::to_string(i) + ".pdf");
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        CPdfMaker::Write(path, {"Page one of document " + std::to_string(i), "Page two"});
        list += path + "\n";
    }
    m_dir.Write("list.txt", list);
    std::string bin = m_dir.MakeFolder("bin");
    std::string runs = m_dir / "runs.log";
    WriteScript(bin + "/pdftotext", "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + runs +
                                        "'\nexec /usr/bin/pdftotext \"$@\"\n");
    std::filesystem::create_symlink(ZELTO_EXTRACT_PROGRAM, bin + "/zelto-extract");
    WriteScript(m_dir / "ssh", "#!/bin/sh\n"
                               "while [ $# -gt 0 ]; do case \"$1\" in\n"
                               "  -l|-p|-o|-i|-F) shift 2 ;; -*) shift ;; *) break ;; esac; done\n"
                               "host=$1; shift; [ \"$1\" = -- ] && shift\n"
                               "echo \"$host\" >> '" +
                                   m_dir / "hosts.log" +
                                   "'\n"
                                   "mkdir -p '" +
                                   m_dir.Path() +
                                   "'/home-$host\n"
                                   "exec env -i SHELL=/bin/sh USER=zelto LOGNAME=zelto HOME='" +
                                   m_dir.Path() + "'/home-$host PATH='" + bin +
                                   "':/usr/bin:/bin sh -c \"$*\"\n");
    m_dir.Write("hosts", "h1\nh2\nh3\n");

    std::string command =
        "cd '" + m_dir.Path() +
        "' && parallel --pipe -N 4 --ssh ./ssh --sshloginfile hosts "
        "zelto-extract --engine pdftotext --quiet --from - --report r{#}.csv < list.txt";
    EXPECT_EQ(std::system(command.c_str()), 0);

    std::string logged = CTempDir::ReadFile(runs);
    std::map<std::string, int> reported;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
    {
        if (entry.path().extension() == ".csv")
        {
            for (const auto& [source, fields] : ReportRows(entry.path().string()))
                reported[source] += fields[0] == "converted" ? 1 : 100;
        }
    }
    EXPECT_EQ(reported.size(), static_cast<std::size_t>(kFiles));
    for (int i = 0; i < kFiles; ++i)
    {
        std::string name = "doc " + std::to_string(i) + ".pdf";
        EXPECT_EQ(CountOf(logged, "/" + name + " "), 1) << name;
        std::string path = m_dir / ("in/" + std::to_string(i % 4) + "/" + name);
        EXPECT_EQ(reported[path], 1) << name;
    }
    std::string hosts = CTempDir::ReadFile(m_dir / "hosts.log");
    for (const char* host : {"h1", "h2", "h3"})
        EXPECT_NE(hosts.find(host), std::string::npos) << host;
}
#endif
