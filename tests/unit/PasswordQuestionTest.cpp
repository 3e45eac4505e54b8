// SPDX-License-Identifier: GPL-3.0-or-later
// Locked PDF files added in the window: the password question with scripted
// answers, the passwords tried on the other locked files of the add, and
// what is told or only recorded, on real PDFs locked by qpdf and converted
// by the real extraction worker.

#include "DocFixture.h"
#include "LockedPdfs.h"
#include "PdfMaker.h"
#include "doc/AddReport.h"
#include "extract/WorkerPool.h"

#include <map>
#include <string>
#include <vector>

namespace
{
using Lines = std::vector<std::string>;

CPasswordAnswer Ok(const std::string& password, bool tryOnOthers = false)
{
    return {EPasswordAnswer::Ok, password, tryOnOthers};
}
CPasswordAnswer Skip()
{
    return {EPasswordAnswer::Skip, {}, false};
}
CPasswordAnswer SkipAll()
{
    return {EPasswordAnswer::SkipAll, {}, false};
}

struct CWindowCase
{
    const char* name;
    // Dropped together in this order: "a.pdf" opens as it is, "b.pdf:pw"
    // is locked with the user password pw, "x.pdf:BROKEN" is damaged,
    // "s.pdf:SLOW" takes about a second.
    Lines files;
    std::vector<CPasswordAnswer> answers;
    // The questions and boxes in the order they came: "ask b.pdf", "ask
    // again b.pdf" (a typed password failed), "box b.pdf".
    Lines shown;
    // The add report's rows: "b.pdf wrong-password seen".
    Lines rows;
    // The files listed, by name.
    Lines listed;
    int parallel = 1;
    bool problemsAtEnd = false;
    // Ticks "the rest in the report" in the first box.
    bool tickFirstBox = false;
    bool pdftotextEngine = false;
};

void PrintTo(const CWindowCase& c, std::ostream* out)
{
    *out << c.name;
}

// Locked files dropped on the window's document, which converts with the
// real worker.
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

    // Makes the files of `specs` and gives their paths.
    Lines MakeFiles(const Lines& specs)
    {
        std::string source = m_dir.Write("source/plain.pdf", CLockedPdfs::Source());
        m_dir.MakeFolder("in");
        Lines paths;
        for (const std::string& spec : specs)
        {
            std::size_t colon = spec.find(':');
            std::string name = spec.substr(0, colon);
            std::string lock = colon == std::string::npos ? "" : spec.substr(colon + 1);
            std::string path = m_dir / ("in/" + name);
            if (lock == "BROKEN")
                m_dir.Write("in/" + name, CPdfMaker::Build({"cut short"}).substr(0, 200));
            else if (lock == "SLOW")
                m_dir.Write("in/" + name, CPdfMaker::BuildNested(4));
            else if (lock.empty())
                m_dir.Write("in/" + name, CLockedPdfs::Source());
            else
                EXPECT_TRUE(CLockedPdfs::Lock(source, path, {lock, "owner-" + lock, "256"}))
                    << "qpdf missing: run scripts/install-deps.sh";
            m_passwords[name] = lock == "BROKEN" || lock == "SLOW" ? "" : lock;
            paths.push_back(path);
        }
        return paths;
    }

    static std::string NameOf(const std::string& path)
    {
        return path.substr(path.rfind('/') + 1);
    }

    std::string NameIn(const std::string& text) const
    {
        for (const auto& [name, lock] : m_passwords)
        {
            if (text.find("/" + name + "'") != std::string::npos)
                return name;
        }
        return "?";
    }

    Lines Shown() const
    {
        Lines shown;
        std::size_t message = 0;
        std::size_t question = 0;
        for (const std::string& event : m_prompts.Events())
        {
            if (event.rfind("password ", 0) == 0)
            {
                const CPasswordRequest& request = m_prompts.PasswordRequests()[question++];
                EXPECT_EQ(NameOf(request.strPath), request.strFileName);
                shown.push_back((request.bAgain ? "ask again " : "ask ") + request.strFileName);
            }
            else if (event.rfind("message ", 0) == 0)
                shown.push_back("box " + NameIn(m_prompts.Messages()[message++].strText));
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

    // Every listed file has the text pdftotext gives with its password.
    void ExpectPdftotextTexts() const
    {
        for (const CConverter* converter : m_view.DocRows())
        {
            std::string pdf(converter->m_strSourcePath);
            const std::string& password = m_passwords.at(NameOf(pdf));
            std::string expected;
            CLockedPdfs::Pdftotext(pdf, password.empty() ? Lines{} : Lines{"-upw", password},
                                   expected);
            EXPECT_EQ(CTempDir::ReadFile(std::string(converter->m_strTextPath)), expected) << pdf;
        }
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
    m_settings.SetInt("", CAddOptions::kProblemsAtEnd, c.problemsAtEnd ? 1 : 0);
    m_settings.SetInt("", CAddOptions::kExtractionEngine, c.pdftotextEngine ? 1 : 0);
    for (const CPasswordAnswer& answer : c.answers)
        m_prompts.AnswerPasswordNext(answer);
    if (c.tickFirstBox)
        m_prompts.TickNext(true);

    m_doc.OnDropFiles(MakeFiles(c.files));

    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(Rows(), c.rows);
    Lines listed;
    for (const std::string& source : ListedSources())
        listed.push_back(NameOf(source));
    EXPECT_EQ(listed, c.listed);
    ExpectPdftotextTexts();
}

INSTANTIATE_TEST_SUITE_P(
    ScriptedAnswers, LockedInWindow,
    ::testing::Values(
        CWindowCase{.name = "RightPassword",
                    .files = {"b.pdf:secret"},
                    .answers = {Ok("secret")},
                    .shown = {"ask b.pdf"},
                    .rows = {},
                    .listed = {"b.pdf"}},
        CWindowCase{.name = "WrongThenRight",
                    .files = {"b.pdf:secret"},
                    .answers = {Ok("typo"), Ok("secret")},
                    .shown = {"ask b.pdf", "ask again b.pdf"},
                    .rows = {},
                    .listed = {"b.pdf"}},
        // The second wrong password is told, as any failure is.
        CWindowCase{.name = "WrongTwice",
                    .files = {"b.pdf:secret"},
                    .answers = {Ok("typo"), Ok("typo 2")},
                    .shown = {"ask b.pdf", "ask again b.pdf", "box b.pdf"},
                    .rows = {"b.pdf wrong-password seen"},
                    .listed = {}},
        // A skipped file was seen in its question; the others go on.
        CWindowCase{.name = "Skip",
                    .files = {"a.pdf", "b.pdf:secret", "c.pdf"},
                    .answers = {Skip()},
                    .shown = {"ask b.pdf"},
                    .rows = {"b.pdf needs-password seen"},
                    .listed = {"a.pdf", "c.pdf"}},
        CWindowCase{.name = "SkipAfterAWrongOne",
                    .files = {"b.pdf:secret"},
                    .answers = {Ok("typo"), Skip()},
                    .shown = {"ask b.pdf", "ask again b.pdf"},
                    .rows = {"b.pdf wrong-password seen"},
                    .listed = {}},
        CWindowCase{.name = "SkipAll",
                    .files = {"b.pdf:secret", "c.pdf:secret", "d.pdf:other"},
                    .answers = {SkipAll()},
                    .shown = {"ask b.pdf"},
                    .rows = {"b.pdf needs-password seen", "c.pdf needs-password unseen",
                             "d.pdf needs-password unseen"},
                    .listed = {}},
        // The password opens the other files without a question; a file it
        // does not open is asked about, its lock now a wrong password.
        CWindowCase{.name = "TryOnOthers",
                    .files = {"b.pdf:secret", "c.pdf:secret", "d.pdf:other", "e.pdf:secret"},
                    .answers = {Ok("secret", true), Skip()},
                    .shown = {"ask b.pdf", "ask d.pdf"},
                    .rows = {"d.pdf wrong-password seen"},
                    .listed = {"b.pdf", "c.pdf", "e.pdf"}},
        // The locked files finish behind a slow one, before the person is
        // asked: each runs again with the password at its turn.
        CWindowCase{
            .name = "TryOnOthersThreeAtOnce",
            .files = {"s.pdf:SLOW", "b.pdf:secret", "c.pdf:secret", "d.pdf:other", "e.pdf:secret"},
            .answers = {Ok("secret", true), Skip()},
            .shown = {"ask b.pdf", "ask d.pdf"},
            .rows = {"d.pdf wrong-password seen"},
            .listed = {"b.pdf", "c.pdf", "e.pdf", "s.pdf"},
            .parallel = 3},
        CWindowCase{.name = "UntickedForThisFileAlone",
                    .files = {"b.pdf:secret", "c.pdf:secret"},
                    .answers = {Ok("secret"), Ok("secret")},
                    .shown = {"ask b.pdf", "ask c.pdf"},
                    .rows = {},
                    .listed = {"b.pdf", "c.pdf"}},
        // A failure behind a locked file waits for its question and rerun.
        CWindowCase{.name = "OrderKeptAtTwoAtOnce",
                    .files = {"b.pdf:secret", "x.pdf:BROKEN", "a.pdf"},
                    .answers = {Ok("typo"), Ok("secret")},
                    .shown = {"ask b.pdf", "ask again b.pdf", "box x.pdf"},
                    .rows = {"x.pdf failed seen"},
                    .listed = {"a.pdf", "b.pdf"},
                    .parallel = 2},
        CWindowCase{.name = "ProblemsAtEnd",
                    .files = {"a.pdf", "b.pdf:secret", "c.pdf:secret"},
                    .answers = {},
                    .shown = {},
                    .rows = {"b.pdf needs-password unseen", "c.pdf needs-password unseen"},
                    .listed = {"a.pdf"},
                    .problemsAtEnd = true},
        CWindowCase{.name = "RestInTheReport",
                    .files = {"x.pdf:BROKEN", "b.pdf:secret"},
                    .answers = {},
                    .shown = {"box x.pdf"},
                    .rows = {"x.pdf failed seen", "b.pdf needs-password unseen"},
                    .listed = {},
                    .tickFirstBox = true},
        // pdftotext is never given a password: nothing to ask.
        CWindowCase{.name = "PdftotextEngine",
                    .files = {"b.pdf:secret"},
                    .answers = {},
                    .shown = {"box b.pdf"},
                    .rows = {"b.pdf needs-password seen"},
                    .listed = {},
                    .pdftotextEngine = true}),
    [](const ::testing::TestParamInfo<CWindowCase>& info) { return std::string(info.param.name); });

// The password of an add is forgotten with it: the next add asks again.
TEST_F(LockedFiles, PasswordsLiveForOneAdd)
{
    Lines files = MakeFiles({"b.pdf:secret", "c.pdf:secret"});
    m_prompts.AnswerPasswordNext(Ok("secret", true));
    m_doc.OnDropFiles({files[0]});
    m_prompts.AnswerPasswordNext(Skip());
    m_doc.OnDropFiles({files[1]});
    EXPECT_EQ(Shown(), (Lines{"ask b.pdf", "ask c.pdf"}));
    EXPECT_EQ(ListedSources(), (Lines{files[0]}));
}
