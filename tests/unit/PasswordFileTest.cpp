// SPDX-License-Identifier: GPL-3.0-or-later
// The command's --password-file: how the file is read, and locked PDFs
// converted with it, by the real worker, on PDFs locked by qpdf.

#include "cli/PasswordFile.h"
#include "LockedPdfs.h"
#include "SystemSkip.h"
#include "TempDir.h"
#include "cli/ExtractCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <tuple>

namespace
{
using Lines = std::vector<std::string>;

// Each file's outcome in a JSON Lines report, by the file's name.
std::map<std::string, std::string> Outcomes(const std::string& report)
{
    std::map<std::string, std::string> outcomes;
    std::regex row(R"re(\{"source":"[^"]*/([^"/]+)",.*"outcome":"([a-z-]+)")re");
    std::string text = CTempDir::ReadFile(report);
    for (std::sregex_iterator at(text.begin(), text.end(), row), end; at != end; ++at)
        outcomes[(*at)[1]] = (*at)[2];
    return outcomes;
}

class PasswordFileCommand : public ::testing::Test
{
protected:
    int Run(const Lines& arguments)
    {
        m_err.clear();
        CCommandStreams streams;
        streams.writeOutput = [](std::string_view) {};
        streams.writeError = [this](std::string_view text) { m_err += text; };
        streams.readInput = [](char*, std::size_t) { return 0L; };
        streams.stopRequest = [] { return 0; };
#ifdef ZELTO_WORKER_PROGRAM
        streams.strWorkerProgram = ZELTO_WORKER_PROGRAM;
#endif
        return CExtractCommand(std::move(streams)).Run(arguments);
    }

    std::string PasswordFile(const std::string& contents, std::filesystem::perms perms)
    {
        std::string path = m_dir.Write("passwords.txt", contents);
        std::filesystem::permissions(CTempDir::FsPath(path), perms);
        return path;
    }

    CTempDir m_dir;
    std::string m_err;
};
} // namespace

TEST(PasswordFile, OneALineInOrder_LineEndsMarkAndEmptyLinesLeftOut)
{
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"first\nsecond\n", {"first", "second"}},
        {"\xEF\xBB\xBF"
         "first\r\nsecond",
         {"first", "second"}},
        {"\n\n with spaces \n\r\n", {" with spaces "}},
        {"caf\xC3\xA9\nmot de passe\n", {"caf\xC3\xA9", "mot de passe"}},
        {"", {}},
    };
    for (const auto& [contents, passwords] : cases)
        EXPECT_EQ(CPasswordFile::Parse(contents), passwords) << contents;
}

// Every locked file that one of the passwords opens converts, whichever
// lock it has, with pdftotext's text for that password; a file none opens
// is reported, and fails the run. pdftotext, given no password, opens none.
TEST_F(PasswordFileCommand, LockedFilesConvertWithTheFilesPasswords)
{
#ifndef ZELTO_WORKER_PROGRAM
    GTEST_SKIP() << "no extraction worker in this build";
#endif
    std::string source = m_dir.Write("source.pdf", CLockedPdfs::Source());
    m_dir.Write("in/plain.pdf", CLockedPdfs::Source());
    // Name, qpdf's --encrypt arguments, pdftotext's options for its text.
    const std::vector<std::tuple<std::string, Lines, Lines>> locked = {
        {"aes256.pdf", {"first", "o1", "256"}, {"-upw", "first"}},
        {"rc4.pdf", {"u2", "second", "128", "--use-aes=n"}, {"-opw", "second"}},
        {"rc4-40.pdf", {"third", "o3", "40"}, {"-upw", "third"}},
        {"unknown.pdf", {"nobody knows", "o4", "256"}, {}},
    };
    for (const auto& [name, encryption, options] : locked)
        ASSERT_TRUE(CLockedPdfs::Lock(source, m_dir / ("in/" + name), encryption))
            << "qpdf missing: run scripts/install-deps.sh";
    std::string passwords =
        PasswordFile("wrong\r\nfirst\nsecond\nthird\n", std::filesystem::perms::owner_read);
    std::string report = m_dir / "report.jsonl";
    struct CRun
    {
        Lines options;
        std::map<std::string, std::string> outcomes;
        // The reason tells that only the workers open locked files.
        bool bWorkersNeeded;
    };
    const std::vector<CRun> runs = {
        {{"--password-file", passwords},
         {{"plain.pdf", "converted"},
          {"aes256.pdf", "converted"},
          {"rc4.pdf", "converted"},
          {"rc4-40.pdf", "converted"},
          {"unknown.pdf", "wrong-password"}},
         false},
        {{},
         {{"plain.pdf", "converted"},
          {"aes256.pdf", "needs-password"},
          {"rc4.pdf", "needs-password"},
          {"rc4-40.pdf", "needs-password"},
          {"unknown.pdf", "needs-password"}},
         false},
        {{"--password-file", passwords, "--engine", "pdftotext"},
         {{"plain.pdf", "converted"},
          {"aes256.pdf", "needs-password"},
          {"rc4.pdf", "needs-password"},
          {"rc4-40.pdf", "needs-password"},
          {"unknown.pdf", "needs-password"}},
         true},
    };
    for (const CRun& run : runs)
    {
        Lines arguments = run.options;
        arguments.insert(arguments.end(), {"--existing", "replace", "--text-folder",
                                           m_dir / "texts", "--report", report, m_dir / "in"});
        SCOPED_TRACE(testing::PrintToString(run.options));
        EXPECT_EQ(Run(arguments), CExtractCommand::kExitFailed);
        EXPECT_EQ(Outcomes(report), run.outcomes);
        EXPECT_EQ(m_err.find("pdftotext could be read by every user") != std::string::npos,
                  run.bWorkersNeeded)
            << m_err;
    }
    std::filesystem::remove(CTempDir::FsPath(m_dir / "in/unknown.pdf"));
    EXPECT_EQ(Run({"--password-file", passwords, "--existing", "replace", "--text-folder",
                   m_dir / "texts", m_dir / "in"}),
              CExtractCommand::kExitDone);
    for (const auto& [name, encryption, options] : locked)
    {
        if (options.empty())
            continue;
        std::string text;
        CLockedPdfs::Pdftotext(m_dir / ("in/" + name), options, text);
        EXPECT_EQ(
            CTempDir::ReadFile(m_dir / ("texts/in/" + name.substr(0, name.size() - 4) + ".txt")),
            text)
            << name;
    }
}

// A file others may read is used, with a warning; one that cannot be read
// stops the command before anything converts.
TEST_F(PasswordFileCommand, FileOthersMayRead_IsWarnedOf_AndOneNotThereStopsTheCommand)
{
    SKIP_ON_WINDOWS("Windows has no read bits for group and others");
    std::string pdf = m_dir.Write("in/a.pdf", CLockedPdfs::Source());
    using P = std::filesystem::perms;
    const std::string warning = "may read the password file";
    for (auto [perms, quiet, warned] : {std::tuple{P::owner_read | P::group_read, false, true},
                                        std::tuple{P::owner_read | P::others_read, false, true},
                                        std::tuple{P::owner_read | P::others_read, true, false},
                                        std::tuple{P::owner_read | P::owner_write, false, false}})
    {
        std::string passwords = PasswordFile("secret\n", perms);
        Lines arguments{"--password-file", passwords, "--existing", "replace", pdf};
        if (quiet)
            arguments.push_back("-q");
        EXPECT_EQ(Run(arguments), CExtractCommand::kExitDone);
        EXPECT_EQ(m_err.find(warning) != std::string::npos, warned)
            << static_cast<int>(perms) << m_err;
        EXPECT_EQ(m_err.find("secret"), std::string::npos);
    }
    EXPECT_EQ(Run({"--password-file", m_dir / "missing.txt", pdf}), CExtractCommand::kExitUsage);
    EXPECT_NE(m_err.find("the password file '" + (m_dir / "missing.txt") + "' could not be read"),
              std::string::npos)
        << m_err;
}
