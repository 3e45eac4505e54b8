// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the document tests share: a view that follows the list only through
// what it is told, and a document on real temporary folders with a small
// stand-in for pdftotext.

#include "DocRows.h"
#include "FakeTool.h"
#include "ListingTable.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "doc/DocObserver.h"
#include "doc/ZeltoDoc.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "platform/MemorySettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

inline CMemorySettings OneAtATime()
{
    CMemorySettings settings;
    settings.SetInt("", CAddOptions::kConversionsAtOnce, 1);
    return settings;
}

// A view that keeps its own copy of the rows, built only from the calls it
// receives, and records every call. After any operation its rows must equal
// the document's: that is what lets a real view refresh cheaply.
class CRecordingView : public CDocObserver
{
public:
    explicit CRecordingView(const CZeltoDoc& doc) : m_doc(doc) { Rebuild(); }

    void OnRowAboutToBeInserted(int row) override
    {
        // The list is still unchanged.
        EXPECT_EQ(m_doc.RowCount(), static_cast<int>(m_rows.size()));
        EXPECT_TRUE(row >= 0 && row <= static_cast<int>(m_rows.size())) << row;
    }
    void OnRowInserted(int row) override
    {
        m_rows.insert(m_rows.begin() + row, m_doc.ConverterAt(row));
        m_events.push_back("insert " + std::to_string(row));
    }
    void OnRowsAboutToBeRemoved(int first, int last) override
    {
        ASSERT_TRUE(first >= 0 && first <= last && last < static_cast<int>(m_rows.size()));
        for (int row = first; row <= last; ++row)
            EXPECT_EQ(m_doc.ConverterAt(row), m_rows[static_cast<std::size_t>(row)]);
    }
    void OnRowsRemoved(int first, int last) override
    {
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        m_events.push_back("remove " + std::to_string(first) + "-" + std::to_string(last));
    }
    void OnAboutToReset() override { m_bResetStarted = true; }
    void OnReset() override
    {
        EXPECT_TRUE(m_bResetStarted);
        m_bResetStarted = false;
        Rebuild();
        m_events.push_back("reset");
    }
    void OnFileCountChanged(int count) override
    {
        m_events.push_back("count " + std::to_string(count));
    }

    // The rows as a full rebuild would make them.
    std::vector<const CConverter*> DocRows() const
    {
        std::vector<const CConverter*> rows;
        for (int row = 0; row < m_doc.RowCount(); ++row)
            rows.push_back(m_doc.ConverterAt(row));
        return rows;
    }
    bool FollowsTheDoc() const { return m_rows == DocRows(); }

    const std::vector<std::string>& Events() const { return m_events; }
    void ClearEvents() { m_events.clear(); }

private:
    void Rebuild() { m_rows = DocRows(); }

    const CZeltoDoc& m_doc;
    std::vector<const CConverter*> m_rows;
    std::vector<std::string> m_events;
    bool m_bResetStarted = false;
};

// The fake pdftotext in its quick mode, for thousands of files: it writes a
// line of text naming the source, or, for a source whose first line begins
// with BROKEN, reports an error and writes nothing. Every call is logged.
class CQuickTool
{
public:
    CQuickTool() : m_path(m_bin.Path())
    {
        CFakeTool::InstallIn(m_bin);
        m_bin.Write("quick", "");
    }

    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        std::string log = CTempDir::ReadFile(m_bin / "calls.log");
        for (std::size_t start = 0; start < log.size();)
        {
            std::size_t end = log.find('\n', start);
            calls.push_back(log.substr(start, end - start));
            start = end + 1;
        }
        return calls;
    }

private:
    CTempDir m_bin;
    CScopedPath m_path;
};

// A document as the program makes it, on a temporary folder.
class DocFixture : public ::testing::Test
{
protected:
    explicit DocFixture(const CPathRules& rules = CPathRules::Posix()) : m_rules(rules) {}

    void SetUp() override { m_doc.AddObserver(m_view); }
    void TearDown() override
    {
        EXPECT_TRUE(m_view.FollowsTheDoc());
        EXPECT_EQ(m_prompts.UnexpectedChoices(), 0);
        m_doc.RemoveObserver(m_view);
    }

    // A file the stand-in tool converts.
    std::string Pdf(const std::string& name) const { return m_dir.Write(name, "%PDF-1.4 fake\n"); }
    std::string BrokenPdf(const std::string& name) const { return m_dir.Write(name, "BROKEN\n"); }
    std::string Folder(const std::string& name) const { return m_dir.MakeFolder(name); }
    std::string operator/(const std::string& name) const { return m_dir / name; }

    std::vector<std::string> ListedSources() const { return CDocRows::Sources(m_doc); }
    std::vector<std::string> ListedTexts() const { return CDocRows::Texts(m_doc); }
    // The texts of every message shown, in order.
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const CRecordedMessage& message : m_prompts.Messages())
            texts.push_back(message.strText);
        return texts;
    }
    static std::string Ignored(const std::string& path)
    {
        return "The file '" + path + "' will be ignored.\n";
    }
    static std::string Question(const std::string& folder)
    {
        return "Add contents of the folder '" + folder + "'?";
    }
    // Leaves `answer` as the standing answer to the folder question, as a
    // drop of a folder so answered does, and forgets that question.
    void LeaveStandingFolderAnswer(int answer)
    {
        m_prompts.AnswerFolderNext(answer);
        m_doc.OnDropFiles({Folder("standing answer")});
        m_prompts.ClearFolderQuestions();
    }

    const CPathRules& m_rules;
    CTempDir m_dir;
    CScriptedPrompts m_prompts;
    std::shared_ptr<CConverterContext> m_context = std::make_shared<CConverterContext>(m_rules);
    CListingTable m_table{m_context};
    // One file at a time: these tests describe what the person sees in that
    // order; several at once has tests of its own.
    CMemorySettings m_settings = OneAtATime();
    CZeltoDoc m_doc{m_table, m_prompts, m_prompts, m_settings};
    CRecordingView m_view{m_doc};
};
