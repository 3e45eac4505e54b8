#include "ConversionQueue.h"

#include "OperationCancelled.h"
#include "extract/Converter.h"
#include "platform/PathRules.h"
#include "platform/Prompts.h"
#include "platform/UserException.h"

#include <algorithm>

struct CConversionQueue::CEntry
{
    std::unique_ptr<CConverter> pConverter;
    CConversionRun run;
    bool bDone = false; // guarded by the queue's mutex
};

// Ready when the head of the queue has finished, or the person cancelled.
class CConversionQueue::CHeadMonitor : public CConversionMonitor
{
public:
    explicit CHeadMonitor(const CConversionQueue& queue) : m_queue(queue) {}

    bool IsReady() const override
    {
        if (m_queue.IsCancelled() || m_queue.m_entries.empty())
            return true;
        std::lock_guard lock(m_queue.m_mutex);
        return m_queue.m_entries.front()->bDone;
    }

    CConversionProgress Progress() const override
    {
        CConversionProgress progress;
        std::lock_guard lock(m_queue.m_mutex);
        progress.nDone = m_queue.m_nFinished;
        progress.nQueued = m_queue.m_nQueued;
        for (const CEntry* entry : m_queue.m_running)
            progress.converting.push_back(entry->pConverter->m_strSourcePath);
        return progress;
    }

private:
    const CConversionQueue& m_queue;
};

CConversionQueue::CConversionQueue(CPrompts& prompts, const CPathRules& rules, int parallel,
                                   FConverted onConverted)
    : m_prompts(prompts), m_rules(rules), m_nParallel(std::max(1, parallel)),
      m_nWindow(m_nParallel == 1 ? 1 : static_cast<std::size_t>(m_nParallel) * 8),
      m_onConverted(std::move(onConverted))
{
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
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const std::unique_ptr<CEntry>& entry) {
                           return m_rules.SamePath(entry->pConverter->m_strSourcePath, sourcePath);
                       });
}

void CConversionQueue::WaitForTextPath(const std::string& textPath)
{
    auto writesIt = [&]
    {
        return std::any_of(m_entries.begin(), m_entries.end(),
                           [&](const std::unique_ptr<CEntry>& entry) {
                               return m_rules.SamePath(entry->pConverter->m_strTextPath, textPath);
                           });
    };
    JudgeWhile(writesIt);
}

void CConversionQueue::Enqueue(std::unique_ptr<CConverter> converter)
{
    if (IsCancelled())
        ThrowCancelled();
    auto entry = std::make_unique<CEntry>();
    entry->pConverter = std::move(converter);
    {
        std::lock_guard lock(m_mutex);
        m_pending.push_back(entry.get());
        ++m_nQueued;
    }
    m_entries.push_back(std::move(entry));
    StartWorkerIfNeeded();
    m_workChanged.notify_one();

    JudgeWhile([this] { return m_entries.size() >= m_nWindow; });
}

void CConversionQueue::JudgeFinished()
{
    while (!m_entries.empty())
    {
        {
            std::lock_guard lock(m_mutex);
            if (!m_entries.front()->bDone)
                return;
        }
        if (IsCancelled())
            ThrowCancelled();
        std::unique_ptr<CEntry> entry = std::move(m_entries.front());
        m_entries.pop_front();
        try
        {
            entry->pConverter->FinishConversion(entry->run);
            m_onConverted(std::move(entry->pConverter));
        }
        catch (const CUserException&)
        {
            // The user has been told; the file is dropped.
        }
    }
}

void CConversionQueue::Finish()
{
    JudgeWhile([this] { return !m_entries.empty(); });
    StopWorkers();
}

void CConversionQueue::JudgeWhile(const std::function<bool()>& mustWait)
{
    JudgeFinished();
    while (mustWait())
    {
        WaitForHead();
        JudgeFinished();
    }
}

void CConversionQueue::Cancel()
{
    m_cancel.Request();
    m_workChanged.notify_all();
    m_prompts.NotifyConversionsChanged();
}

void CConversionQueue::WaitForHead()
{
    CHeadMonitor monitor(*this);
    if (!monitor.IsReady())
        m_prompts.WaitForConversions(monitor, m_cancel);
    if (IsCancelled())
        ThrowCancelled();
}

void CConversionQueue::StartWorkerIfNeeded()
{
    std::lock_guard lock(m_mutex);
    std::size_t busy = m_running.size() + m_pending.size();
    // A new worker only when every one there is busy.
    if (m_workers.size() < static_cast<std::size_t>(m_nParallel) && busy > m_workers.size())
        m_workers.emplace_back([this] { WorkerLoop(); });
}

void CConversionQueue::WorkerLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;)
    {
        m_workChanged.wait(lock, [this]
                           { return m_bClosing || m_cancel.IsRequested() || !m_pending.empty(); });
        if (m_bClosing || m_cancel.IsRequested())
            return;
        CEntry* entry = m_pending.front();
        m_pending.pop_front();
        m_running.push_back(entry);
        lock.unlock();

        CConversionRun run = entry->pConverter->RunConversion(m_cancel);

        lock.lock();
        entry->run = std::move(run);
        entry->bDone = true;
        m_running.erase(std::find(m_running.begin(), m_running.end(), entry));
        ++m_nFinished;
        lock.unlock();
        m_prompts.NotifyConversionsChanged();
        lock.lock();
    }
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

// Every file not judged yet is dropped in silence; a run that was cut short
// leaves no half-written text file behind.
void CConversionQueue::AbandonAll()
{
    for (std::unique_ptr<CEntry>& entry : m_entries)
    {
        try
        {
            if (entry->bDone)
                entry->pConverter->AbandonConversion(entry->run);
        }
        catch (...)
        {
            // Nothing more can be done about a file that cannot be removed.
        }
    }
    m_entries.clear();
}

void CConversionQueue::ThrowCancelled()
{
    StopWorkers();
    AbandonAll();
    throw COperationCancelled();
}
