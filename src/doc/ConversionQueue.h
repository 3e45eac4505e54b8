#pragma once

#include "extract/ConversionRun.h"
#include "platform/CancelFlag.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CConverter;
class CPathRules;
class CPrompts;

// The conversions of one add operation. Up to a given number of tool runs
// go on at once on worker threads, while everything the person sees stays
// in the order the files were queued: each finished file is judged (its
// messages shown) and listed only after every file queued before it.
// Everything but the tool runs happens on the thread that owns the queue.
class CConversionQueue
{
public:
    using FConverted = std::function<void(std::unique_ptr<CConverter>)>;

    // `parallel` tool runs at most (1 gives strictly one file after
    // another); `onConverted` lists a file whose conversion succeeded.
    CConversionQueue(CPrompts& prompts, const CPathRules& rules, int parallel,
                     FConverted onConverted);
    // Ends running tools, removes what they half wrote and drops every file
    // not judged yet, without a message.
    ~CConversionQueue();

    CConversionQueue(const CConversionQueue&) = delete;
    CConversionQueue& operator=(const CConversionQueue&) = delete;

    int Parallel() const { return m_nParallel; }

    // Whether a queued file that is not listed yet has this source path.
    bool HoldsSource(const std::string& sourcePath) const;

    // Before a file is prepared: waits, judging in order, until no queued
    // file writes the same text file.
    void WaitForTextPath(const std::string& textPath);
    // Takes a prepared converter; its tool runs as soon as a worker is free.
    // Then waits, judging in order, until there is room for the next file.
    void Enqueue(std::unique_ptr<CConverter> converter);
    // Judges and lists every file at the head of the queue whose run ended.
    void JudgeFinished();
    // Waits for and judges every queued file.
    void Finish();

    // Cancels the operation (from any thread): running tools are ended and
    // the next wait raises COperationCancelled.
    void Cancel();
    bool IsCancelled() const { return m_cancel.IsRequested(); }

private:
    struct CEntry;
    class CHeadMonitor;

    void WaitForHead();
    // Judges what has finished, then waits for the head and judges again for
    // as long as `mustWait` holds.
    void JudgeWhile(const std::function<bool()>& mustWait);
    void StartWorkerIfNeeded();
    void WorkerLoop();
    void StopWorkers();
    void AbandonAll();
    [[noreturn]] void ThrowCancelled();

    CPrompts& m_prompts;
    const CPathRules& m_rules;
    const int m_nParallel;
    // How many files may wait to be judged: one when files go one at a
    // time, so nothing of the next file is seen before the last is done;
    // more otherwise, so that a long file at the head does not leave the
    // other workers idle.
    const std::size_t m_nWindow;
    FConverted m_onConverted;
    CCancelFlag m_cancel;

    // The queue in order; only the owning thread adds and removes entries.
    std::deque<std::unique_ptr<CEntry>> m_entries;

    // Shared with the workers.
    mutable std::mutex m_mutex;
    std::condition_variable m_workChanged;
    std::deque<CEntry*> m_pending;
    std::vector<const CEntry*> m_running;
    std::vector<std::thread> m_workers;
    bool m_bClosing = false;
    int m_nFinished = 0;
    int m_nQueued = 0;
};
