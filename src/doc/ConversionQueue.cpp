// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionQueue.h"

#include "ConversionStartFailure.h"
#include "OperationCancelled.h"
#include "extract/Converter.h"
#include "person/ProgressIndication.h"
#include "platform/MessageTable.h"

#include <algorithm>
#include <system_error>

struct CConversionQueue::CEntry
{
    std::unique_ptr<CConverter> pConverter;
    CQueuedPaths::CKeys keys;
    // Guarded by the queue's mutex until the run has ended.
    CConversionRun run;
    std::size_t nHeldBytes = 0;
    bool bDone = false;
    // Set while the head waits to run again, which no budget holds back.
    bool bAgain = false;
    // For a locked PDF: how many of the operation's passwords its last run
    // tried (written by the worker that runs it), the password the person
    // gave for it alone, and how often the person was asked.
    std::size_t nKnownTried = 0;
    std::string strOwnPassword;
    int nAsked = 0;
};

// Ready when the head of the queue has finished, when the caller need wait
// no longer, or when the person cancelled.
class CConversionQueue::CHeadMonitor : public CConversionMonitor
{
public:
    CHeadMonitor(const CConversionQueue& queue, const std::function<bool()>& mustWait)
        : m_queue(queue), m_mustWait(mustWait)
    {
    }

    bool IsReady() const override
    {
        return m_queue.IsCancelled() || m_queue.HeadDone() || !m_mustWait();
    }

    CConversionProgress Progress() const override
    {
        CConversionProgress progress;
        std::lock_guard lock(m_queue.m_mutex);
        progress.nDone = m_queue.m_nFinished;
        progress.nQueued = m_queue.m_nQueued;
        for (const CEntry* entry : m_queue.m_running)
        {
            progress.converting.emplace_back(entry->pConverter->m_strSourcePath);
            std::optional<CMessageCall> activity = entry->pConverter->Activity();
            progress.activities.push_back(
                activity ? CMessageTable::Format(activity->id, activity->args) : std::string());
        }
        return progress;
    }

private:
    const CConversionQueue& m_queue;
    const std::function<bool()>& m_mustWait;
};

std::thread CConversionQueue::StartStdThread(std::function<void()> body)
{
    return std::thread(std::move(body));
}

CConversionQueue::CConversionQueue(CProgressIndication& progress, const CPathRules& rules,
                                   int parallel, CConversionOptions options, FJudged onJudged,
                                   FStartThread startThread, std::size_t heldBytesBudget)
    : m_progress(progress), m_nParallel(std::max(1, parallel)),
      m_nMaxWaiting(kWaitingPerWorker * static_cast<std::size_t>(m_nParallel)),
      m_nHeldBytesBudget(heldBytesBudget), m_options(std::move(options)),
      m_onJudged(std::move(onJudged)), m_startThread(std::move(startThread)),
      m_passwords(m_options.passwords), m_paths(rules)
{
    // Room for every worker from the start: a started thread must never be
    // lost to a failed allocation, nor a worker fail to note its run.
    m_workers.reserve(static_cast<std::size_t>(m_nParallel));
    m_running.reserve(static_cast<std::size_t>(m_nParallel));
}

CConversionQueue::~CConversionQueue()
{
    if (!m_entries.empty())
        m_cancel.Request();
    StopWorkers();
    AbandonAll();
}

bool CConversionQueue::HoldsSource(const std::string& sourcePath) const
{
    return m_paths.HoldsSource(sourcePath);
}

void CConversionQueue::WaitForTextPath(std::string_view textPath)
{
    std::string key = m_paths.FileKey(textPath);
    JudgeWhile([&] { return m_paths.HoldsText(key); });
}

void CConversionQueue::Enqueue(std::unique_ptr<CConverter> converter)
{
    if (IsCancelled())
        ThrowCancelled();
    auto entry = std::make_unique<CEntry>();
    entry->keys = m_paths.KeysOf(converter->m_strSourcePath, converter->m_strTextPath);
    entry->pConverter = std::move(converter);
    // Before the file is queued, so that a file is only ever queued with a
    // worker there to run it.
    StartWorkerIfNeeded();
    Append(std::move(entry));
    if (m_nParallel == 1)
        JudgeWhile([this] { return !m_entries.empty(); });
    else
        JudgeWhile([this] { return WaitingCount() >= m_nMaxWaiting; });
}

// An entry is either in the queue and the workers' reach, or in neither.
void CConversionQueue::Append(std::unique_ptr<CEntry> entry)
{
    m_entries.push_back(std::move(entry));
    CEntry& queued = *m_entries.back();
    try
    {
        std::lock_guard lock(m_mutex);
        m_waiting.push_back(&queued);
        ++m_nQueued;
    }
    catch (...)
    {
        m_entries.pop_back();
        throw;
    }
    m_workChanged.notify_one();
    // Filed last: an entry missing from the index is only looked for in vain.
    m_paths.Add(queued.keys);
}

void CConversionQueue::JudgeFinished()
{
    if (IsCancelled())
        ThrowCancelled();
    while (HeadDone() && !m_entries.empty())
    {
        CEntry& head = *m_entries.front();
        CFileOutcome outcome = head.pConverter->FinishConversion(head.run);
        if (!TryMorePasswords(head, outcome))
        {
            std::unique_ptr<CEntry> entry = TakeHead();
            m_onJudged(std::move(entry->pConverter), std::move(outcome));
        }
        // A cancel while a message showed stops the judging.
        if (IsCancelled())
            ThrowCancelled();
    }
}

void CConversionQueue::Finish()
{
    JudgeWhile([this] { return !m_entries.empty(); });
    StopWorkers();
}

void CConversionQueue::Cancel()
{
    m_cancel.Request();
    m_workChanged.notify_all();
    m_progress.NotifyConversionsChanged();
}

bool CConversionQueue::HeadDone() const
{
    if (m_entries.empty())
        return true;
    std::lock_guard lock(m_mutex);
    return m_entries.front()->bDone;
}

std::size_t CConversionQueue::WaitingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_waiting.size();
}

void CConversionQueue::JudgeWhile(const std::function<bool()>& mustWait)
{
    JudgeFinished();
    while (mustWait())
    {
        WaitForHeadOr(mustWait);
        JudgeFinished();
    }
}

void CConversionQueue::WaitForHeadOr(const std::function<bool()>& mustWait)
{
    CHeadMonitor monitor(*this, mustWait);
    if (!monitor.IsReady())
        m_progress.WaitForConversions(monitor, m_cancel);
}

// The head's report leaves the budget with it; workers held back by the
// budget may start again.
std::unique_ptr<CConversionQueue::CEntry> CConversionQueue::TakeHead()
{
    std::unique_ptr<CEntry> entry = std::move(m_entries.front());
    m_entries.pop_front();
    m_paths.Remove(entry->keys);
    bool wasFull = false;
    {
        std::lock_guard lock(m_mutex);
        wasFull = m_nHeldBytes >= m_nHeldBytesBudget;
        m_nHeldBytes -= entry->nHeldBytes;
    }
    if (wasFull)
        m_workChanged.notify_all();
    return entry;
}

// Passwords learnt since the run started are tried without a word; the
// person is asked only when none is left to try.
bool CConversionQueue::TryMorePasswords(CEntry& head, CFileOutcome& outcome)
{
    if (!head.run.PasswordMayOpen())
        return false;
    if (m_passwords.Count() <= head.nKnownTried)
    {
        if (!m_askPassword)
            return false;
        std::optional<CPasswordTry> typed = m_askPassword(outcome, head.nAsked);
        if (!typed)
            return false;
        ++head.nAsked;
        head.strOwnPassword.clear();
        if (!typed->bForAll)
            head.strOwnPassword = std::move(typed->strPassword);
        else
            m_passwords.Add(std::move(typed->strPassword));
    }
    RunHeadAgain(head);
    return true;
}

// The head keeps its place in the queue and goes first to the next free
// worker; what its run held leaves the budget.
void CConversionQueue::RunHeadAgain(CEntry& head)
{
    bool wasFull = false;
    {
        std::lock_guard lock(m_mutex);
        m_waiting.push_front(&head);
        wasFull = m_nHeldBytes >= m_nHeldBytesBudget;
        m_nHeldBytes -= head.nHeldBytes;
        head.nHeldBytes = 0;
        head.run = CConversionRun();
        head.bDone = false;
        head.bAgain = true;
        --m_nFinished;
    }
    if (wasFull)
        m_workChanged.notify_all();
    else
        m_workChanged.notify_one();
    m_progress.NotifyConversionsChanged();
}

void CConversionQueue::StartWorkerIfNeeded()
{
    std::lock_guard lock(m_mutex);
    // A new worker only when every one there is busy, counting the file
    // about to be queued.
    std::size_t busy = m_running.size() + m_waiting.size() + 1;
    if (m_workers.size() >= static_cast<std::size_t>(m_nParallel) || busy <= m_workers.size())
        return;
    try
    {
        m_workers.push_back(m_startThread([this] { WorkerLoop(); }));
    }
    catch (const std::system_error& error)
    {
        throw CConversionStartFailure(error.code());
    }
}

void CConversionQueue::WorkerLoop()
{
    auto notify = [this] { m_progress.NotifyConversionsChanged(); };
    while (CEntry* entry = TakeNextRun())
    {
        CRunRequest request{m_options, m_cancel, notify, PasswordsFor(*entry)};
        EndRun(*entry, entry->pConverter->RunConversion(request));
    }
}

// The next waiting file, in queue order, once the finished files that wait to
// be judged are within the budget; null when the worker is to end. Files are
// started in queue order, so the head has always started by the time a file
// behind it has finished: the budget can never hold back the head itself.
// A head that runs again goes first, past the budget.
CConversionQueue::CEntry* CConversionQueue::TakeNextRun()
{
    std::unique_lock lock(m_mutex);
    m_workChanged.wait(lock,
                       [this]
                       {
                           return m_bClosing || IsCancelled() ||
                                  (!m_waiting.empty() && (m_nHeldBytes < m_nHeldBytesBudget ||
                                                          m_waiting.front()->bAgain));
                       });
    if (m_bClosing || IsCancelled())
        return nullptr;
    CEntry* entry = m_waiting.front();
    m_waiting.pop_front();
    entry->bAgain = false;
    m_running.push_back(entry);
    lock.unlock();
    // Room for another waiting file.
    m_progress.NotifyConversionsChanged();
    return entry;
}

// Written on the worker's thread before the run, read on the queue's after
// it ended: the queue's mutex orders both.
std::vector<std::string> CConversionQueue::PasswordsFor(CEntry& entry) const
{
    std::vector<std::string> passwords = m_passwords.List();
    entry.nKnownTried = passwords.size();
    if (!entry.strOwnPassword.empty())
        passwords.push_back(entry.strOwnPassword);
    return passwords;
}

void CConversionQueue::EndRun(CEntry& entry, CConversionRun run)
{
    std::size_t held = sizeof(CEntry) + run.result.strErrorOutput.capacity();
    {
        std::lock_guard lock(m_mutex);
        entry.run = std::move(run);
        entry.nHeldBytes = held;
        entry.bDone = true;
        m_nHeldBytes += held;
        m_running.erase(std::find(m_running.begin(), m_running.end(), &entry));
        ++m_nFinished;
    }
    m_progress.NotifyConversionsChanged();
}

void CConversionQueue::StopWorkers()
{
    {
        std::lock_guard lock(m_mutex);
        m_bClosing = true;
    }
    m_workChanged.notify_all();
    for (std::thread& worker : m_workers)
    {
        if (worker.joinable())
            worker.join();
    }
    m_workers.clear();
}

// Runs only with the workers stopped. The runs that ended well are listed
// without a word; the others left their text files as they were.
void CConversionQueue::SettleAfterCancel()
{
    m_waiting.clear();
    m_running.clear();
    while (!m_entries.empty())
    {
        std::unique_ptr<CEntry> entry = std::move(m_entries.front());
        m_entries.pop_front();
        m_paths.Remove(entry->keys);
        try
        {
            if (entry->bDone && entry->pConverter->FinishQuietly(entry->run))
            {
                CFileOutcome outcome = entry->pConverter->Outcome();
                m_onJudged(std::move(entry->pConverter), std::move(outcome));
            }
        }
        catch (...)
        {
            // Nothing more can be done about a file that cannot be listed or
            // removed; the others are settled all the same.
        }
    }
}

// Every file not judged yet is dropped in silence. A run that succeeded has
// put its whole text in place, which stays; any other left the text file as
// it was.
void CConversionQueue::AbandonAll()
{
    m_entries.clear();
}

void CConversionQueue::ThrowCancelled()
{
    StopWorkers();
    SettleAfterCancel();
    throw COperationCancelled();
}
