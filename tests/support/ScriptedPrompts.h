#pragma once

#include "platform/Prompts.h"

#include <chrono>
#include <deque>
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
};

// Prompts for tests: records every message box, answers from a script, runs
// cancellable work on the calling thread and can ask for a cancel.
class CScriptedPrompts : public CPrompts
{
public:
    EAnswer ShowMessage(const CMessageBox& box) override;
    void RunCancellable(const std::string& subject,
                        const std::function<void(const CCancelFlag&)>& work) override;

    // Answers for boxes that offer a choice, in order. When the script runs
    // dry a choice is answered No and counted as unexpected.
    void AnswerNext(EAnswer answer) { m_answers.push_back(answer); }
    // Asks for a cancel this long after each cancellable run starts.
    void CancelAfter(std::chrono::milliseconds delay) { m_cancelDelay = delay; }

    const std::vector<CRecordedMessage>& Messages() const { return m_messages; }
    std::vector<EMessageId> FirstIds() const;
    const std::vector<std::string>& RunSubjects() const { return m_runSubjects; }
    int UnexpectedChoices() const { return m_nUnexpected; }
    void Clear() { m_messages.clear(); }

private:
    std::vector<CRecordedMessage> m_messages;
    std::deque<EAnswer> m_answers;
    std::vector<std::string> m_runSubjects;
    std::optional<std::chrono::milliseconds> m_cancelDelay;
    int m_nUnexpected = 0;
};
