// SPDX-License-Identifier: GPL-3.0-or-later
#include "extract/WorkerProtocol.h"
#include "extract/TextForm.h"
#include "extract/WorkerJob.h"

#include <gtest/gtest.h>

TEST(WorkerProtocol, FramesArriveWholeHoweverTheStreamIsCut)
{
    std::vector<std::string> arguments{"pdftotext", "", "/a b/\xC3\xA9.pdf", "-"};
    std::string text(70000, 'x');
    std::string stream = CWorkerProtocol::RequestFrame(arguments) +
                         CWorkerProtocol::Frame(EWorkerFrame::Text, text) +
                         CWorkerProtocol::EndFrame(99);
    for (std::size_t cut : {std::size_t{1}, std::size_t{3}, std::size_t{4096}, stream.size()})
    {
        CFrameReader reader;
        std::vector<std::pair<EWorkerFrame, std::string>> frames;
        for (std::size_t at = 0; at < stream.size(); at += cut)
        {
            reader.Add(stream.data() + at, std::min(cut, stream.size() - at));
            EWorkerFrame kind;
            std::string payload;
            while (reader.Next(kind, payload))
                frames.emplace_back(kind, payload);
        }
        ASSERT_EQ(frames.size(), 3u) << "cut " << cut;
        EXPECT_EQ(CWorkerProtocol::RequestArguments(frames[0].second), arguments);
        EXPECT_EQ(frames[1].second, text);
        EXPECT_EQ(frames[2].first, EWorkerFrame::End);
        EXPECT_EQ(CWorkerProtocol::ExitStatus(frames[2].second), 99);
    }
}

// Passwords go as arguments do, and come back as they went; a lock is one
// byte either way, and any other payload is none.
TEST(WorkerProtocol, PasswordsAndLocksRoundTrip)
{
    std::vector<std::string> passwords{"first", "with space", "caf\xC3\xA9"};
    std::string frame = CWorkerProtocol::PasswordsFrame(passwords);
    CFrameReader reader;
    reader.Add(frame.data(), frame.size());
    EWorkerFrame kind;
    std::string payload;
    ASSERT_TRUE(reader.Next(kind, payload));
    EXPECT_EQ(kind, EWorkerFrame::Passwords);
    EXPECT_EQ(CWorkerProtocol::RequestArguments(payload), passwords);
    for (EPdfLock lock :
         {EPdfLock::Open, EPdfLock::Unlocked, EPdfLock::NeedsPassword, EPdfLock::WrongPassword})
        EXPECT_EQ(CWorkerProtocol::Lock(CWorkerProtocol::LockPayload(lock)), lock);
    for (std::string_view malformed : {"", "X", "OO"})
        EXPECT_FALSE(CWorkerProtocol::Lock(malformed)) << malformed;
}

// Pages go as four bytes each and come back as they went; a payload that is
// cut, holds a page 0 or does not rise is none.
TEST(WorkerProtocol, PagesRoundTrip)
{
    for (const std::vector<int>& pages : {std::vector<int>{}, {1}, {2, 3, 70000, 2147483647}})
        EXPECT_EQ(CWorkerProtocol::Pages(CWorkerProtocol::PagesPayload(pages)), pages);
    for (const std::vector<int>& malformed : {std::vector<int>{0}, {3, 3}, {4, 2}, {-1}})
        EXPECT_FALSE(CWorkerProtocol::Pages(CWorkerProtocol::PagesPayload(malformed)));
    EXPECT_FALSE(CWorkerProtocol::Pages(CWorkerProtocol::PagesPayload({1}).substr(0, 3)));
}

TEST(WorkerProtocol, FrameLongerThanAnyFrame_BreaksTheStream)
{
    CFrameReader reader;
    reader.Add("T\xFF\xFF\xFF\xFFtext", 9);
    EWorkerFrame kind;
    std::string payload;
    EXPECT_FALSE(reader.Next(kind, payload));
    EXPECT_TRUE(reader.IsBroken());
    EXPECT_EQ(CWorkerProtocol::ExitStatus("\x01"), -1);
}

// A worker is asked in the very arguments the converter gives the tool, so
// every text form the converter asks for has to be one a worker takes.
TEST(WorkerJob, EveryTextFormOfTheConverterIsTaken)
{
    using L = CTextForm::ELayout;
    for (L layout : {L::Physical, L::ReadingOrder, L::Raw})
        for (bool crLf : {false, true})
            for (bool pageBreaks : {false, true})
            {
                CTextForm form{layout, crLf, pageBreaks, false};
                std::vector<std::string> arguments{"pdftotext"};
                for (std::string& option : form.ToolOptions(false))
                    arguments.push_back(option);
                arguments.insert(arguments.end(), {"/in/./-x.pdf", "-"});
                std::optional<CWorkerJob> job = CWorkerJob::FromToolArguments(arguments);
                ASSERT_TRUE(job);
                EXPECT_EQ(job->bPhysicalLayout, layout == L::Physical);
                EXPECT_EQ(job->bRawOrder, layout == L::Raw);
                EXPECT_EQ(job->bPageBreaks, pageBreaks);
                EXPECT_EQ(job->eEndOfLine,
                          crLf ? CWorkerJob::EEndOfLine::Dos : CWorkerJob::EEndOfLine::Unix);
                EXPECT_EQ(job->strEncoding, "UTF-8");
                EXPECT_EQ(job->strPdfPath, "/in/./-x.pdf");
            }
}

// Anything else is left to the tool itself.
TEST(WorkerJob, ArgumentsAWorkerDoesNotTake_AreLeftToTheTool)
{
    const std::vector<std::vector<std::string>> refused = {
        {"pdftotext", "-f", "2", "/a.pdf", "-"},      // an option it does not know
        {"pdftotext", "-layout", "/a.pdf", "/a.txt"}, // a text file rather than the output
        {"pdftotext", "-", "-"},                      // the standard input
        {"pdftotext", "/a.pdf"},                      // no output named
        {"pdftotext", "/a.pdf", "-", "extra"},        // one file too many
        {"pdftotext", "-eol", "vms", "/a.pdf", "-"},  // a line end it does not know
        {"pdftotext", "/a.pdf", "-", "-enc"},         // an option without its value
    };
    for (const std::vector<std::string>& arguments : refused)
        EXPECT_FALSE(CWorkerJob::FromToolArguments(arguments)) << arguments[1];
}
