// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerPool.h"

#include "WorkerJob.h"
#include "WorkerProcess.h"

#include <algorithm>

CWorkerPool::CWorkerPool(std::string program, int memoryLimitMebibytes, int filesPerWorker)
    : m_strProgram(std::move(program)), m_nMemoryLimitMebibytes(memoryLimitMebibytes),
      m_nFilesPerWorker(filesPerWorker)
{
}

CWorkerPool::~CWorkerPool() = default;

std::string CWorkerPool::FindWorker(const std::string& programFolder)
{
    return CExecutables::FindWorker(programFolder);
}

CChildResult CWorkerPool::Run(const CChildRequest& request, bool* byWorker)
{
    bool ranInWorker = false;
    EPdfLock lock = EPdfLock::Open;
    CChildResult result = Run(request, {}, ranInWorker, lock);
    if (byWorker)
        *byWorker = ranInWorker;
    return result;
}

CChildResult CWorkerPool::Run(const CChildRequest& request,
                              const std::vector<std::string>& passwords, bool& byWorker,
                              EPdfLock& lock, std::vector<int>* unmappedFontPages)
{
    byWorker = false;
    lock = EPdfLock::Open;
    std::vector<int> pages;
    if (unmappedFontPages)
        unmappedFontPages->clear();
    if (!IsAvailable() || !CWorkerJob::FromToolArguments(request.arguments))
        return CChildProcess::Run(request);
    std::unique_ptr<CWorkerProcess> worker = TakeWorker();
    if (!worker)
        return CChildProcess::Run(request);
    long processId = worker->ProcessId();
    bool unsupported = false;
    CChildResult result =
        worker->Run(request.arguments, request, passwords, lock, pages, unsupported);
    GiveBack(std::move(worker), processId);
    if (unsupported)
    {
        lock = EPdfLock::Open;
        return CChildProcess::Run(request);
    }
    byWorker = true;
    if (unmappedFontPages)
        *unmappedFontPages = std::move(pages);
    return result;
}

// An idle worker that is still alive, or a new one.
std::unique_ptr<CWorkerProcess> CWorkerPool::TakeWorker()
{
    std::unique_ptr<CWorkerProcess> worker;
    {
        std::lock_guard lock(m_mutex);
        while (!m_idle.empty() && !worker)
        {
            worker = std::move(m_idle.back());
            m_idle.pop_back();
            if (!worker->IsAlive())
                worker.reset();
        }
    }
    if (!worker)
    {
        worker = std::make_unique<CWorkerProcess>();
        std::vector<std::string> arguments{m_strProgram};
        if (m_nMemoryLimitMebibytes > 0)
            arguments.insert(arguments.end(),
                             {"--memory-limit", std::to_string(m_nMemoryLimitMebibytes)});
        if (worker->Start(arguments) != 0)
        {
            std::lock_guard lock(m_mutex);
            m_bAvailable = false;
            return nullptr;
        }
    }
    std::lock_guard lock(m_mutex);
    m_busy.push_back(worker->ProcessId());
    return worker;
}

void CWorkerPool::GiveBack(std::unique_ptr<CWorkerProcess> worker, long processId)
{
    std::lock_guard lock(m_mutex);
    std::erase(m_busy, processId);
    if (worker->IsAlive() && worker->FilesDone() < m_nFilesPerWorker)
        m_idle.push_back(std::move(worker));
}

void CWorkerPool::EndIdleWorkers()
{
    std::vector<std::unique_ptr<CWorkerProcess>> idle;
    {
        std::lock_guard lock(m_mutex);
        idle.swap(m_idle);
    }
}

bool CWorkerPool::IsAvailable() const
{
    std::lock_guard lock(m_mutex);
    return m_bAvailable && !m_strProgram.empty();
}

std::vector<long> CWorkerPool::BusyWorkers() const
{
    std::lock_guard lock(m_mutex);
    return m_busy;
}
