// SPDX-License-Identifier: GPL-3.0-or-later
// Locked PDF files added in the window: the password question with scripted
// answers, passwords tried on the other locked files of an add, and what is
// told or only recorded, on PDFs locked by qpdf and the real worker.

#include "DocFixture.h"
#include "LockedPdfs.h"
#include "PdfMaker.h"
#include "doc/AddReport.h"
#include "extract/WorkerPool.h"

#include <algorithm>
#include <map>

namespace
{
using Lines = std::vector<std::string>;

// Lists in one string, their items separated by '|'.
struct CWindowCase
{
    const char* name;
    // Dropped together in this order: "a.pdf" opens as it is, "b.pdf:pw" is
    // locked with the password pw, "x.pdf:BROKEN" is damaged, "s.pdf:SLOW"
    // takes about a second.
    const char* files;
    // "ok pw", "ok-for-all pw" (ticks the check box), "skip", "skip-all".
    const char* answers;
    // In order: "password b.pdf", "password b.pdf again" (after a typed
    // password failed), "box b.pdf".
    const char* shown;
    // The add report's rows: "b.pdf wrong-password seen".
    const char* rows;
    const char* listed;
    int parallel = 1;
    // "ProblemsAtEnd", "TickFirstBox" (the rest in the report) or "Pdftotext".
    std::string setting = "";
};

Lines Split(const std::string& items)
{
    Lines split;
    for (std::size_t start = 0; start < items.size();)
    {
        std::size_t end = std::min(items.find('|', start), items.size());
        split.push_back(items.substr(start, end - start));
        start = end + 1;
    }
    return split;
}

CPasswordAnswer Answer(const std::string& scripted)
{
    std::string word = scripted.substr(0, scripted.find(' '));
    std::string password = word == scripted ? "" : scripted.substr(word.size() + 1);
    if (word == "skip" || word == "skip-all")
        return {word == "skip" ? EPasswordAnswer::Skip : EPasswordAnswer::SkipAll, {}, false};
    return {EPasswordAnswer::Ok, password, word == "ok-for-all"};
}

void PrintTo(const CWindowCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string NameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// Drops files on the window's document, which converts with the real worker.
class LockedFiles : public DocFixture
{
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
#ifndef ZELTO_WORKER_PROGRAM
        GTEST_SKIP() << "no extraction worker in this build";
#else
        m_context->SetWorkers(std::make_shared<CWorkerPool>(ZELTO_WORKER_PROGRAM));
#endif
    }

    Lines MakeFiles(const Lines& lockedFiles)
    {
        std::string source = m_dir.Write("plain.pdf", CLockedPdfs::Source());
        Lines paths;
        for (const std::string& described : lockedFiles)
        {
            std::string name = described.substr(0, described.find(':'));
            std::string lock = name == described ? "" : described.substr(name.size() + 1);
            paths.push_back(m_dir.Write("in/" + name, CLockedPdfs::Source()));
            if (lock == "BROKEN")
                m_dir.Write("in/" + name, CPdfMaker::Build({"cut short"}).substr(0, 200));
            else if (lock == "SLOW")
                m_dir.Write("in/" + name, CPdfMaker::BuildNested(4));
            else if (!lock.empty())
            {
                EXPECT_TRUE(CLockedPdfs::Lock(source, paths.back(), {lock, "o", "256"}))
                    << "qpdf missing: run scripts/install-deps.sh";
            }
            m_passwords[name] = lock == "BROKEN" || lock == "SLOW" ? "" : lock;
        }
        return paths;
    }

    Lines Shown() const
    {
        Lines shown;
        std::size_t message = 0;
        for (const std::string& event : m_prompts.Events())
        {
            if (event.rfind("message ", 0) != 0)
            {
                shown.push_back(event);
                continue;
            }
            const std::string& text = m_prompts.Messages()[message++].strText;
            for (const auto& [name, password] : m_passwords)
            {
                if (text.find("/" + name + "'") != std::string::npos)
                    shown.push_back("box " + name);
            }
        }
        return shown;
    }

    Lines Rows() const
    {
        Lines rows;
        for (const CAddReportRow& row : m_doc.LastAddReport()->Rows())
            rows.push_back(NameOf(row.strPath) + " " +
                           std::string(COutcomeKind::Of(row.eOutcome).strToken) +
                           (row.bShown ? " seen" : " unseen"));
        return rows;
    }

    // Names the listed files, after checking that each has the text
    // pdftotext gives with its password.
    Lines Listed() const
    {
        Lines listed;
        for (const CConverter* converter : m_view.DocRows())
        {
            std::string pdf(converter->m_strSourcePath);
            const std::string& password = m_passwords.at(NameOf(pdf));
            std::string text;
            CLockedPdfs::Pdftotext(pdf, password.empty() ? Lines{} : Lines{"-upw", password}, text);
            EXPECT_EQ(CTempDir::ReadFile(std::string(converter->m_strTextPath)), text) << pdf;
            listed.push_back(NameOf(pdf));
        }
        return listed;
    }

    // Each file's password by its name; empty for a file that opens as it is.
    std::map<std::string, std::string> m_passwords;
};

class LockedInWindow : public LockedFiles, public ::testing::WithParamInterface<CWindowCase>
{
};
} // namespace

TEST_P(LockedInWindow, AsksForThePasswordAndKeepsTheOrderOfWhatItTells)
{
    const CWindowCase& c = GetParam();
    m_settings.SetInt("", CAddOptions::kConversionsAtOnce, c.parallel);
    m_settings.SetInt("", CAddOptions::kProblemsAtEnd, c.setting == "ProblemsAtEnd");
    m_settings.SetInt("", CAddOptions::kExtractionEngine, c.setting == "Pdftotext");
    m_prompts.TickNext(c.setting == "TickFirstBox");
    for (const std::string& answer : Split(c.answers))
        m_prompts.AnswerPasswordNext(Answer(answer));

    m_doc.OnDropFiles(MakeFiles(Split(c.files)));

    EXPECT_EQ(Shown(), Split(c.shown));
    EXPECT_EQ(Rows(), Split(c.rows));
    EXPECT_EQ(Listed(), Split(c.listed));
}

using C = CWindowCase;
INSTANTIATE_TEST_SUITE_P(
    ScriptedAnswers, LockedInWindow,
    ::testing::Values(
        C{"WrongThenRight", "b.pdf:pw", "ok typo|ok pw", "password b.pdf|password b.pdf again", "",
          "b.pdf"},
        // The second wrong password is told, as any failure is.
        C{"WrongTwice", "b.pdf:pw", "ok typo|ok typo 2",
          "password b.pdf|password b.pdf again|box b.pdf", "b.pdf wrong-password seen", ""},
        // A skipped file was seen in its question; the others go on.
        C{"Skip", "a.pdf|b.pdf:pw|c.pdf", "skip", "password b.pdf", "b.pdf needs-password seen",
          "a.pdf|c.pdf"},
        C{"SkipAll", "b.pdf:pw|c.pdf:pw|d.pdf:other", "skip-all", "password b.pdf",
          "b.pdf needs-password seen|c.pdf needs-password unseen|d.pdf needs-password unseen", ""},
        C{"UntickedForThisFileAlone", "b.pdf:pw|c.pdf:pw", "ok pw|ok pw",
          "password b.pdf|password c.pdf", "", "b.pdf|c.pdf"},
        // The locked files finish behind a slow one before the person is
        // asked: each runs again with the password at its turn, and one it
        // does not open is asked about, its lock now a wrong password.
        C{"TryOnOthers", "s.pdf:SLOW|b.pdf:pw|c.pdf:pw|d.pdf:other|e.pdf:pw", "ok-for-all pw|skip",
          "password b.pdf|password d.pdf", "d.pdf wrong-password seen", "b.pdf|c.pdf|e.pdf|s.pdf",
          3},
        // A failure behind a locked file waits for its questions and runs.
        C{"OrderKeptAtTwoAtOnce", "b.pdf:pw|x.pdf:BROKEN|a.pdf", "ok typo|ok pw",
          "password b.pdf|password b.pdf again|box x.pdf", "x.pdf failed seen", "a.pdf|b.pdf", 2},
        C{"ProblemsAtEnd", "a.pdf|b.pdf:pw", "", "", "b.pdf needs-password unseen", "a.pdf", 1,
          "ProblemsAtEnd"},
        C{"RestInTheReport", "x.pdf:BROKEN|b.pdf:pw", "", "box x.pdf",
          "x.pdf failed seen|b.pdf needs-password unseen", "", 1, "TickFirstBox"},
        // pdftotext is never given a password: nothing to ask.
        C{"PdftotextEngine", "b.pdf:pw", "", "box b.pdf", "b.pdf needs-password seen", "", 1,
          "Pdftotext"}),
    [](const ::testing::TestParamInfo<C>& info) { return std::string(info.param.name); });

// The password of an add is forgotten with it: the next add asks again.
TEST_F(LockedFiles, PasswordsLiveForOneAdd)
{
    Lines files = MakeFiles({"b.pdf:pw", "c.pdf:pw"});
    m_prompts.AnswerPasswordNext(Answer("ok-for-all pw"));
    m_doc.OnDropFiles({files[0]});
    m_prompts.AnswerPasswordNext(Answer("skip"));
    m_doc.OnDropFiles({files[1]});
    EXPECT_EQ(Shown(), (Lines{"password b.pdf", "password c.pdf"}));
    EXPECT_EQ(Listed(), (Lines{"b.pdf"}));
}
