// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "person/PathSources.h"
#include "person/ProgressIndication.h"
#include "person/Prompts.h"
#include "platform/CancelFlag.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// One message box as the logic asked for it.
struct CRecordedMessage
{
    std::vector<EMessageId> ids;
    std::string strText;
    std::string strDetails;
    EMessageStyle style;
    // The label of the box's check box, if it had one.
    std::optional<EMessageId> checkLabel = {};
};

// Prompts, progress and path sources for tests: records every message box,
// answers from a script and can ask for a cancel while conversions are
// awaited.
class CScriptedPrompts : public CPrompts, public CProgressIndication, public CPathSources
{
public:
    EAnswer ShowMessage(const CMessageBox& box) override;
    CCheckedAnswer ShowMessageWithCheckBox(const CMessageBox& box, EMessageId checkLabel) override;
    int AskFolderQuestion(const std::string& question) override;
    CPasswordAnswer AskPassword(const CPasswordRequest& request) override;
    std::vector<std::string> ChooseFiles(const std::string& filter,
                                         const std::string& initialFolder) override;
    std::optional<std::string> ChooseFolder(const std::string& initialFolder,
                                            const std::string& statusText) override;
    std::optional<std::vector<std::string>> ClipboardFiles() override;
    void WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel) override;
    void NotifyConversionsChanged() override;
    void EndConversions() override { ++m_nConversionEnds; }

    // Answers for boxes that offer a choice, in order. When the script runs
    // dry a choice is answered No and counted as unexpected.
    void AnswerNext(EAnswer answer) { m_answers.push_back(answer); }
    // Whether the check boxes of the next boxes that have one are ticked,
    // in order; when this runs dry they are left unticked.
    void TickNext(bool ticked) { m_ticks.push_back(ticked); }
    // Answers for the folder question, in order; when they run dry the
    // question is answered "No" and counted as unexpected.
    void AnswerFolderNext(int answer) { m_folderAnswers.push_back(answer); }
    // Answers for the password question, in order; when they run dry it
    // is answered Skip and counted as unexpected.
    void AnswerPasswordNext(CPasswordAnswer answer) { m_passwordAnswers.push_back(answer); }
    // Every password question asked.
    const std::vector<CPasswordRequest>& PasswordRequests() const { return m_passwordRequests; }
    // What the file dialog, the folder chooser and the clipboard give.
    void SetChosenFiles(std::vector<std::string> files) { m_chosenFiles = std::move(files); }
    void SetChosenFolder(std::optional<std::string> folder) { m_chosenFolder = std::move(folder); }
    void SetClipboardFiles(std::optional<std::vector<std::string>> files)
    {
        m_clipboard = std::move(files);
    }
    // Asks for a cancel during the given wait for conversions (counted
    // from 1 within this object's life).
    void CancelInWait(int wait) { m_nCancelInWait = wait; }
    int ConversionWaits() const { return m_nConversionWaits; }
    int ConversionEnds() const { return m_nConversionEnds; }
    // Called at the start of each wait for conversions, with its number.
    void OnWait(std::function<void(int, const CConversionMonitor&)> hook)
    {
        m_onWait = std::move(hook);
    }
    // Everything shown, in order: "message <first id>", "folder <question>",
    // "password <file name>[ again]", "files", "folder chooser".
    const std::vector<std::string>& Events() const { return m_events; }

    const std::vector<CRecordedMessage>& Messages() const { return m_messages; }
    std::vector<EMessageId> FirstIds() const;
    // Every folder question asked, and what the dialogs were handed.
    const std::vector<std::string>& FolderQuestions() const { return m_folderQuestions; }
    const std::vector<std::pair<std::string, std::string>>& FileDialogs() const
    {
        return m_fileDialogs;
    }
    const std::vector<std::pair<std::string, std::string>>& FolderDialogs() const
    {
        return m_folderDialogs;
    }
    int UnexpectedChoices() const { return m_nUnexpected; }
    void Clear() { m_messages.clear(); }
    void ClearFolderQuestions() { m_folderQuestions.clear(); }

private:
    std::vector<CRecordedMessage> m_messages;
    std::deque<EAnswer> m_answers;
    std::deque<bool> m_ticks;
    std::deque<int> m_folderAnswers;
    std::deque<CPasswordAnswer> m_passwordAnswers;
    std::vector<CPasswordRequest> m_passwordRequests;
    std::vector<std::string> m_folderQuestions;
    std::vector<std::string> m_chosenFiles;
    std::optional<std::string> m_chosenFolder;
    std::optional<std::vector<std::string>> m_clipboard;
    std::vector<std::pair<std::string, std::string>> m_fileDialogs;
    std::vector<std::pair<std::string, std::string>> m_folderDialogs;
    int m_nCancelInWait = 0;
    int m_nConversionWaits = 0;
    int m_nConversionEnds = 0;
    std::function<void(int, const CConversionMonitor&)> m_onWait;
    std::vector<std::string> m_events;
    // Kept apart so that the prompts stay movable.
    struct CWakeState
    {
        std::mutex mutex;
        std::condition_variable changed;
        unsigned long nCount = 0;
    };
    std::unique_ptr<CWakeState> m_pWake = std::make_unique<CWakeState>();
    int m_nUnexpected = 0;
};
