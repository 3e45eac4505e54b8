#include "ScriptedPrompts.h"

#include <condition_variable>
#include <mutex>
#include <thread>

EAnswer CScriptedPrompts::ShowMessage(const CMessageBox& box)
{
    m_messages.push_back({box.Ids(), box.Text(), box.DetailsText(), box.Style()});
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

void CScriptedPrompts::RunCancellable(const std::string& subject,
                                      const std::function<void(const CCancelFlag&)>& work)
{
    m_runSubjects.push_back(subject);
    CCancelFlag cancel;
    if (!m_cancelDelay)
    {
        work(cancel);
        return;
    }
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread canceller(
        [&]
        {
            std::unique_lock lock(mutex);
            if (!finished.wait_for(lock, *m_cancelDelay, [&] { return done; }))
                cancel.Request();
        });
    work(cancel);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    canceller.join();
}

std::vector<EMessageId> CScriptedPrompts::FirstIds() const
{
    std::vector<EMessageId> ids;
    for (const CRecordedMessage& message : m_messages)
        ids.push_back(message.ids.front());
    return ids;
}
