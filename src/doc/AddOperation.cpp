// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddOperation.h"

#include "OperationCancelled.h"
#include "OutcomePresenter.h"
#include "OutcomeTelling.h"
#include "ReasonWording.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "extract/WorkerPool.h"
#include "person/Prompts.h"
#include "platform/FileProbe.h"
#include "platform/MessageTable.h"
#include "platform/ReplacementFile.h"
#include "platform/SystemErrorText.h"

#include <utility>

CAddOperation::CAddOperation(CServices services, const CAddSettings& settings,
                             EStandingFolderAnswer& folderAnswer, std::string& activePath)
    : m_services(std::move(services)), m_eFolderAnswer(folderAnswer), m_strActivePath(activePath),
      m_eExistingText(settings.eExistingText),
      m_placement(settings.strTextFolder, m_services.table.Context().PathRules()),
      m_passwordQuestion(m_services.prompts, m_services.table.Context().PathRules()),
      m_queue(
          m_services.progress, m_services.table.Context().PathRules(), settings.nConversionsAtOnce,
          settings.conversion,
          [this](std::unique_ptr<CConverter> converter, CFileOutcome outcome)
          { HandOn(std::move(converter), outcome); },
          m_services.startThread)
{
    m_queue.AskPasswordsWith(
        [this](CFileOutcome& outcome, int timesAsked) {
            return m_passwordQuestion.Ask(outcome, timesAsked,
                                          m_services.presenter.TellsNow(IsMany()));
        });
}

// Workers wait for the next file only while an operation runs: a window
// left open between adds holds no memory of theirs.
CAddOperation::~CAddOperation()
{
    if (CWorkerPool* workers = m_services.table.Context().Workers())
        workers->EndIdleWorkers();
}

void CAddOperation::Run(const std::function<void()>& walk)
{
    std::exception_ptr failure;
    try
    {
        walk();
    }
    catch (const COperationCancelled&)
    {
        throw;
    }
    catch (...)
    {
        failure = std::current_exception();
    }
    m_queue.Finish();
    if (failure)
        std::rethrow_exception(failure);
}

void CAddOperation::AddPaths(const std::vector<std::string>& paths)
{
    if (paths.size() > 1)
        m_bMany = true;
    for (const std::string& path : paths)
        AddPath(path);
}

void CAddOperation::AddPath(const std::string& path)
{
    m_strActivePath = path;
    // Also where a cancel that came during a question takes effect.
    m_queue.JudgeFinished();
    // A listed path is recognised as received, before anything else is
    // looked at; so is one that is being converted.
    if (CFileProbe::IsGone(path) || m_services.isListed(path) || m_queue.HoldsSource(path))
        return;
    if (CFileProbe::IsFolder(path))
        AddFolder(path);
    else if (!m_services.inShare || m_services.inShare(path))
        AddFile(path);
}

bool CAddOperation::AddFoundIn(const std::string& path, const std::string& root, EExistingText rule)
{
    if (m_queue.HoldsSource(path))
        return false;
    m_bMany = true;
    m_strWalkRoot = root;
    EExistingText operationRule = std::exchange(m_eExistingText, rule);
    try
    {
        AddPath(path);
    }
    catch (...)
    {
        m_strWalkRoot.clear();
        m_eExistingText = operationRule;
        throw;
    }
    m_strWalkRoot.clear();
    m_eExistingText = operationRule;
    return true;
}

// A link back into a folder that is being walked would be walked for ever;
// it is passed over without asking.
void CAddOperation::AddFolder(const std::string& folder)
{
    if (m_walker.IsBeingWalked(folder) || m_placement.IsTextFolder(folder) ||
        !AskAddFolderContents(folder))
        return;
    m_bMany = true;
    bool top = m_strWalkRoot.empty();
    if (top)
        m_strWalkRoot = folder;
    int error = m_walker.Walk(folder, [this](const std::string& entry) { AddPath(entry); });
    if (top)
        m_strWalkRoot.clear();
    if (error)
    {
        m_services.presenter.Present(
            CFileOutcome::Dropped(
                folder, CReason(EFileOutcome::CouldNotOpen, folder, EMessageId::FolderUnreadable,
                                {folder, CSystemErrorText::Describe(error), error})),
            IsMany());
    }
}

// Everything that belongs to one file, apart from how it was found: make the
// converter, check and ask, and queue it.
void CAddOperation::AddFile(const std::string& path)
{
    ++m_nFiles;
    std::unique_ptr<CConverter> converter =
        m_services.table.FindConverter(path, m_placement.FolderFor(path, m_strWalkRoot));
    if (!converter)
    {
        m_services.presenter.Present(
            CFileOutcome::Dropped(
                path, CReason(EFileOutcome::Ignored, path, EMessageId::FileIgnored, {path})),
            IsMany());
        return;
    }
    // A text folder's folders are made before the text path is looked up
    // in the queue, which knows a folder by its identity once it is there:
    // two texts of one path in a folder made later would pass for two. One
    // that cannot be made is told by the run, which cannot write there.
    std::string textFolder = CReplacementFile(std::string(converter->m_strTextPath)).Folder();
    if (!m_placement.IsBesideSources())
        CReplacementFile::MakeFolders(textFolder);
    if (std::optional<CFileOutcome> shared = CheckTextFileFree(*converter))
    {
        HandOn(std::move(converter), *shared);
        return;
    }
    // A file settled before its run (its text kept, or not to be converted)
    // is told at once, like the questions before it.
    if (std::optional<CFileOutcome> settled = converter->PrepareConversion(*this))
    {
        HandOn(std::move(converter), *settled);
        return;
    }
    RemoveLeftoversOnce(textFolder);
    m_queue.Enqueue(std::move(converter));
}

// Checked before the rule for existing text: that rule is about texts from
// before the operation. One PDF reached by two paths is one writer; its
// second run waits for the first and then follows the rule.
std::optional<CFileOutcome> CAddOperation::CheckTextFileFree(const CConverter& converter)
{
    std::string textKey = m_queue.FileKey(converter.m_strTextPath);
    std::optional<CTextWriter> writer = m_queue.WriterOf(textKey);
    std::optional<CFileStamp> text;
    if (!writer && (text = CFileProbe::Stamp(std::string(converter.m_strTextPath))))
        writer = m_written.WriterOf(textKey, text->nModifiedNs);
    if (!writer)
        return std::nullopt;
    if (writer->strSourceKey == m_queue.FileKey(converter.m_strSourcePath))
    {
        m_queue.WaitForTextPath(converter.m_strTextPath);
        return std::nullopt;
    }
    CFileOutcome outcome = converter.Outcome();
    outcome.bListed = false;
    outcome.Add(
        CReason(EFileOutcome::SharedTextFile, converter.m_strSourcePath, EMessageId::TextFileShared,
                {converter.m_strSourcePath, converter.m_strTextPath, writer->strSourcePath}));
    return outcome;
}

void CAddOperation::RemoveLeftoversOnce(const std::string& folder)
{
    if (m_cleanedFolders.insert(folder).second)
        CReplacementFile::RemoveLeftovers(folder);
}

bool CAddOperation::AskAddFolderContents(const std::string& folder)
{
    if (m_eFolderAnswer == EStandingFolderAnswer::YesToAll)
        return true;
    if (m_eFolderAnswer == EStandingFolderAnswer::NoToAll)
        return false;
    int answer = m_services.prompts.AskFolderQuestion(
        CMessageTable::Format(EMessageId::AddFolderQuestion, {folder}));
    switch (answer)
    {
    case FolderAnswerYes:
        return true;
    case FolderAnswerYesToAll:
        m_eFolderAnswer = EStandingFolderAnswer::YesToAll;
        return true;
    case FolderAnswerNoToAll:
        m_eFolderAnswer = EStandingFolderAnswer::NoToAll;
        return false;
    default:
        // "No", and a question that could not be shown.
        return false;
    }
}

// With more than one file, the question offers to stand for the rest of the
// operation.
COverwriteQuestion::CAnswer CAddOperation::AskOverwrite(std::string_view textPath)
{
    CMessageBox question = CReasonWording::Box(Question(textPath));
    if (m_standingOverwrite)
        return {*m_standingOverwrite == EAnswer::Yes, false};
    if (!IsMany())
        return {m_services.prompts.ShowMessage(question) == EAnswer::Yes, true};
    CCheckedAnswer checked =
        m_services.prompts.ShowMessageWithCheckBox(question, EMessageId::SameForRestCheck);
    if (checked.bChecked)
        m_standingOverwrite = checked.eAnswer;
    return {checked.eAnswer == EAnswer::Yes, true};
}

void CAddOperation::HandOn(std::unique_ptr<CConverter> converter, const CFileOutcome& outcome)
{
    m_services.presenter.Present(outcome, IsMany());
    std::optional<CFileStamp> text;
    if (COutcomeTelling::CountsAsConverted(outcome) &&
        (text = CFileProbe::Stamp(std::string(converter->m_strTextPath))))
    {
        m_written.Note(
            m_queue.FileKey(converter->m_strTextPath),
            {m_queue.FileKey(converter->m_strSourcePath), std::string(converter->m_strSourcePath)},
            text->nModifiedNs);
    }
    if (outcome.bListed)
        m_services.list(std::move(converter));
}
