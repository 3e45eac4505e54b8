// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AddOptions.h"
#include "ConversionQueue.h"
#include "FolderWalker.h"
#include "PasswordQuestion.h"
#include "TextPlacement.h"
#include "WrittenTexts.h"
#include "extract/OverwriteQuestion.h"
#include "person/MessageBox.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CConverter;
class CConverterTable;
class COutcomePresenter;
class CPrompts;
class CProgressIndication;

// The standing answer of the folder question; it outlives an operation, as
// a later Add... keeps it.
enum class EStandingFolderAnswer
{
    Ask,
    YesToAll,
    NoToAll
};

// One add operation (a paste, a drop, Add..., Add Folder..., a command's
// paths): walks the paths it is given, asks the folder question, queues each
// file for conversion and hands every file's outcome, in queue order on the
// thread that runs it, to the presenter, and each converted file to the
// list. It owns its queue and its settings, read once when it starts; it
// asks the person only what needs an answer (the folder and overwrite
// questions) and shows progress through the progress indication.
//
// What the person meets comes in this order: the questions and messages
// before a file is converted follow the order in which files are found; each
// file's result and its new row come after the results of every file found
// before it; with more than one conversion at once, the questions and
// messages about a later file may come before the result of an earlier one.
// After a cancel, nothing more is shown: files whose runs ended well are
// listed, others leave their text files as they were. A text file the
// operation wrote, or is writing, for one PDF is never written for another:
// the second PDF fails, whatever the rule for existing text says, and the
// first one's text stays. The first time the
// operation writes into a folder, it removes what programs killed while
// writing text there left behind.
class CAddOperation : private COverwriteQuestion
{
public:
    // Whether a source path is listed already.
    using FIsListed = std::function<bool(const std::string&)>;
    // Takes a converted file into the list.
    using FList = std::function<void(std::unique_ptr<CConverter>)>;
    // Whether a file found is this operation's to handle: a run split over
    // several machines takes only its own share. Other files are passed
    // over in silence, as if they were not there.
    using FInShare = std::function<bool(const std::string&)>;

    struct CServices
    {
        const CConverterTable& table;
        CPrompts& prompts;
        CProgressIndication& progress;
        COutcomePresenter& presenter;
        FIsListed isListed;
        FList list;
        CConversionQueue::FStartThread startThread = CConversionQueue::StartStdThread;
        // Absent: every file.
        FInShare inShare = {};
    };

    // `folderAnswer` is the standing folder answer, read and updated;
    // `activePath` is kept at the path the operation is at, so that a
    // failure that ends it can name it.
    CAddOperation(CServices services, const CAddSettings& settings,
                  EStandingFolderAnswer& folderAnswer, std::string& activePath);
    // Drops every file not handed on yet without a word.
    ~CAddOperation() override;

    CAddOperation(const CAddOperation&) = delete;
    CAddOperation& operator=(const CAddOperation&) = delete;

    // Runs `walk`, which adds paths, then waits for every queued file and
    // hands it on. A failure that ends the walk still lets the files queued
    // before it finish and be handed on before it is raised again.
    void Run(const std::function<void()>& walk);
    // Adds several paths: the operation then meets more than one file.
    void AddPaths(const std::vector<std::string>& paths);
    // Adds one file, or one folder recursively after asking. Paths that do
    // not exist or are listed already are passed over in silence; so is a
    // path that is being converted. A path that exists but cannot be
    // examined goes on as a file, so that the file's own checks tell of it.
    void AddPath(const std::string& path);
    // Adds a file found later in `root`, a folder added before, with its
    // text placed as a walk of `root` places it, under its own rule for
    // existing text. False when the file is being converted and was passed
    // over.
    bool AddFoundIn(const std::string& path, const std::string& root, EExistingText rule);
    // Hands on the files whose runs ended, without waiting for the others.
    void JudgeFinished() { m_queue.JudgeFinished(); }
    // From any thread: ends running tools; the next wait ends the operation.
    void Cancel() { m_queue.Cancel(); }

    // How many files the operation met.
    int FilesMet() const { return m_nFiles; }

private:
    bool IsMany() const { return m_bMany || m_nFiles > 1; }
    void AddFolder(const std::string& folder);
    void AddFile(const std::string& path);
    bool AskAddFolderContents(const std::string& folder);
    CAnswer AskOverwrite(std::string_view textPath) override;
    EExistingText ExistingText() const override { return m_eExistingText; }
    std::optional<CFileOutcome> CheckTextFileFree(const CConverter& converter);
    void HandOn(std::unique_ptr<CConverter> converter, const CFileOutcome& outcome);
    void RemoveLeftoversOnce(const std::string& folder);

    CServices m_services;
    EStandingFolderAnswer& m_eFolderAnswer;
    std::string& m_strActivePath;
    CFolderWalker m_walker;
    EExistingText m_eExistingText;
    CTextPlacement m_placement;
    // The added folder being walked, whose tree the text folder mirrors;
    // empty outside a walk.
    std::string m_strWalkRoot;
    bool m_bMany = false;
    int m_nFiles = 0;
    // The answer that stands for the rest of the overwrite questions.
    std::optional<EAnswer> m_standingOverwrite;
    std::set<std::string> m_cleanedFolders;
    CWrittenTexts m_written;
    CPasswordQuestion m_passwordQuestion;
    CConversionQueue m_queue;
};
