// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompts.h"

#include <condition_variable>
#include <mutex>
#include <string>

EAnswer CScriptedPrompts::ShowMessage(const CMessageBox& box)
{
    m_messages.push_back({box.Ids(), box.Text(), box.DetailsText(), box.Style()});
    m_events.push_back("message " + std::to_string(static_cast<int>(box.Ids().front())));
    if (box.Style() != EMessageStyle::Prompt)
        return EAnswer::Ok;
    if (m_answers.empty())
    {
        ++m_nUnexpected;
        return EAnswer::No;
    }
    EAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

CCheckedAnswer CScriptedPrompts::ShowMessageWithCheckBox(const CMessageBox& box,
                                                         EMessageId checkLabel)
{
    CCheckedAnswer answer{ShowMessage(box), false};
    m_messages.back().checkLabel = checkLabel;
    if (!m_ticks.empty())
    {
        answer.bChecked = m_ticks.front();
        m_ticks.pop_front();
    }
    return answer;
}

std::vector<EMessageId> CScriptedPrompts::FirstIds() const
{
    std::vector<EMessageId> ids;
    for (const CRecordedMessage& message : m_messages)
        ids.push_back(message.ids.front());
    return ids;
}

int CScriptedPrompts::AskFolderQuestion(const std::string& question)
{
    m_folderQuestions.push_back(question);
    m_events.push_back("folder " + question);
    if (m_folderAnswers.empty())
    {
        ++m_nUnexpected;
        return FolderAnswerNo;
    }
    int answer = m_folderAnswers.front();
    m_folderAnswers.pop_front();
    return answer;
}

CPasswordAnswer CScriptedPrompts::AskPassword(const CPasswordRequest& request)
{
    m_passwordRequests.push_back(request);
    m_events.push_back("password " + request.strFileName + (request.bAgain ? " again" : ""));
    if (m_passwordAnswers.empty())
    {
        ++m_nUnexpected;
        return {};
    }
    CPasswordAnswer answer = m_passwordAnswers.front();
    m_passwordAnswers.pop_front();
    return answer;
}

std::vector<std::string> CScriptedPrompts::ChooseFiles(const std::string& filter,
                                                       const std::string& initialFolder)
{
    m_fileDialogs.emplace_back(filter, initialFolder);
    return m_chosenFiles;
}

std::optional<std::string> CScriptedPrompts::ChooseFolder(const std::string& initialFolder,
                                                          const std::string& statusText)
{
    m_folderDialogs.emplace_back(initialFolder, statusText);
    return m_chosenFolder;
}

std::optional<std::vector<std::string>> CScriptedPrompts::ClipboardFiles()
{
    return m_clipboard;
}

void CScriptedPrompts::WaitForConversions(const CConversionMonitor& monitor, CCancelFlag& cancel)
{
    ++m_nConversionWaits;
    if (m_onWait)
        m_onWait(m_nConversionWaits, monitor);
    if (m_nConversionWaits == m_nCancelInWait)
        cancel.Request();
    CWakeState& wake = *m_pWake;
    std::unique_lock lock(wake.mutex);
    while (!cancel.IsRequested())
    {
        // The monitor is only looked at on this thread; a wake that came
        // just before the look is not lost, as the count has moved on.
        unsigned long seen = wake.nCount;
        lock.unlock();
        if (monitor.IsReady())
            return;
        lock.lock();
        wake.changed.wait(lock, [&] { return wake.nCount != seen; });
    }
}

void CScriptedPrompts::NotifyConversionsChanged()
{
    CWakeState& wake = *m_pWake;
    {
        std::lock_guard lock(wake.mutex);
        ++wake.nCount;
    }
    wake.changed.notify_all();
}
