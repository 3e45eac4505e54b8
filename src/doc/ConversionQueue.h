// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QueuedPaths.h"
#include "extract/ConversionOptions.h"
#include "extract/ConversionRun.h"
#include "extract/FileOutcome.h"
#include "extract/PdfPasswords.h"
#include "platform/CancelFlag.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class CConverter;
class CPathRules;
class CProgressIndication;

// The conversions of one add operation. Up to a given number of tool runs
// go on at once on worker threads; everything else happens on the thread
// that owns the queue, in this order:
// - a file's checks and questions come before it is queued, so they follow
//   the order in which the caller queues the files;
// - each finished file is judged and its outcome handed on only after every
//   file queued before it, so outcomes (and the new rows they bring) follow
//   that order too, and each file's outcome comes after its own questions;
// - one conversion at a time: a file is judged before Enqueue returns, so
//   nothing of the next file comes before it. Several: Enqueue returns while
//   files convert, so the questions about a later file may come before the
//   report of an earlier one.
//
// No worker idles while a queued file waits to start, however long the file
// at the head of the queue takes. The files that finish behind it wait to be
// judged and keep their reports until then; what they keep is bounded by a
// byte budget rather than by their number, and past it no run starts until
// the head has been judged. Enqueue waits while enough files wait to start
// to keep every worker busy, so that the caller does not run far ahead of
// the conversions and the window can redraw meanwhile.
//
// A locked PDF that another password could open is run again before it is
// handed on: at once when the operation has learnt passwords since its run
// started, or with the password the person gives when asked. It stays at
// the head of the queue, first in line for the next free worker, while the
// thread that owns the queue waits for it as for any head, through the
// progress indication, so that outcomes keep their order and the window
// keeps drawing; the files behind it go on converting meanwhile.
class CConversionQueue
{
public:
    // Takes a judged file: its outcome says whether it is to be listed.
    using FJudged = std::function<void(std::unique_ptr<CConverter>, CFileOutcome)>;
    // A password to try on a locked file, and whether every other locked
    // file of the operation is to try it too.
    struct CPasswordTry
    {
        std::string strPassword;
        bool bForAll = false;
    };
    // Asks for a locked file's password, given its outcome as judged and
    // how often it was asked already; nothing hands the outcome on, which
    // the call may mark (the person skipped the file).
    using FAskPassword =
        std::function<std::optional<CPasswordTry>(CFileOutcome& outcome, int timesAsked)>;
    // Starts a thread that runs `body`; throws std::system_error when the
    // system refuses one, as std::thread does.
    using FStartThread = std::function<std::thread(std::function<void()> body)>;

    // What finished files waiting to be judged may keep: their reports and
    // their places in the queue. pdftotext reports nothing or a few lines for
    // nearly every file, so this holds hundreds of thousands of finished
    // files and no real archive makes a worker wait for it. A damaged PDF can
    // report megabytes, a line for each broken object, and a folder of such
    // files must not fill the memory while one long file holds up judging;
    // 64 MiB is little beside the memory of any machine that converts
    // several files at once.
    static constexpr std::size_t kHeldBytesBudget = std::size_t{64} << 20;
    // How many files may wait to start for each conversion at once: enough
    // that the workers go on while the caller stops for a question or reads
    // a large folder.
    static constexpr std::size_t kWaitingPerWorker = 16;

    static std::thread StartStdThread(std::function<void()> body);

    // `parallel` tool runs at most (1 gives strictly one file after
    // another), each following `options`; `onJudged` takes every file that
    // was run, in queue order.
    CConversionQueue(CProgressIndication& progress, const CPathRules& rules, int parallel,
                     CConversionOptions options, FJudged onJudged,
                     FStartThread startThread = StartStdThread,
                     std::size_t heldBytesBudget = kHeldBytesBudget);
    // Ends running tools and drops every file not judged yet without a
    // message, removing whatever their runs wrote.
    ~CConversionQueue();

    CConversionQueue(const CConversionQueue&) = delete;
    CConversionQueue& operator=(const CConversionQueue&) = delete;

    int Parallel() const { return m_nParallel; }

    // Who is asked for the password of a locked file; without it, a locked
    // file only tries the passwords the operation knows.
    void AskPasswordsWith(FAskPassword ask) { m_askPassword = std::move(ask); }

    // Whether a queued file that is not listed yet has this source path.
    bool HoldsSource(const std::string& sourcePath) const;

    // A file known by its folder's identity and its name, whatever path
    // leads there.
    std::string FileKey(std::string_view path) const { return m_paths.FileKey(path); }
    // The source of a queued file not handed on yet that writes the text
    // file of this key.
    std::optional<CTextWriter> WriterOf(const std::string& textKey) const
    {
        return m_paths.WriterOf(textKey);
    }
    // Before a file is prepared: waits, judging in order, until no queued
    // file writes the same text file, by whatever path.
    void WaitForTextPath(std::string_view textPath);
    // Takes a prepared converter; its tool runs as soon as a worker is free.
    // Raises CConversionStartFailure, the file unqueued, when no thread
    // could be started to run it.
    void Enqueue(std::unique_ptr<CConverter> converter);
    // Judges and lists every file at the head of the queue whose run ended.
    void JudgeFinished();
    // Waits for and judges every queued file.
    void Finish();

    // Cancels the operation (from any thread): running tools are ended and
    // the next wait or judgement raises COperationCancelled. Before it does,
    // every file that was run is settled without a message: handed on as
    // converted, with nothing to tell, when its run succeeded, and whatever
    // its run wrote removed when not.
    void Cancel();
    bool IsCancelled() const { return m_cancel.IsRequested(); }

private:
    struct CEntry;
    class CHeadMonitor;

    void Append(std::unique_ptr<CEntry> entry);
    bool HeadDone() const;
    std::size_t WaitingCount() const;
    // Judges what has finished, then waits for the head (or for `mustWait`
    // to end) and judges again for as long as `mustWait` holds.
    void JudgeWhile(const std::function<bool()>& mustWait);
    void WaitForHeadOr(const std::function<bool()>& mustWait);
    std::unique_ptr<CEntry> TakeHead();
    // Whether the head, just judged, is to run again with more passwords.
    bool TryMorePasswords(CEntry& head, CFileOutcome& outcome);
    void RunHeadAgain(CEntry& head);
    // The passwords the next run of `entry` tries; notes how many of the
    // operation's it took.
    std::vector<std::string> PasswordsFor(CEntry& entry) const;
    void StartWorkerIfNeeded();
    void WorkerLoop();
    CEntry* TakeNextRun();
    void EndRun(CEntry& entry, CConversionRun run);
    void StopWorkers();
    void SettleAfterCancel();
    void AbandonAll();
    [[noreturn]] void ThrowCancelled();

    CProgressIndication& m_progress;
    const int m_nParallel;
    const std::size_t m_nMaxWaiting;
    const std::size_t m_nHeldBytesBudget;
    const CConversionOptions m_options;
    FJudged m_onJudged;
    FStartThread m_startThread;
    CCancelFlag m_cancel;
    FAskPassword m_askPassword;
    // Any thread: the workers read them as each run starts.
    CPdfPasswords m_passwords;

    // The queue in order, and its paths; only the owning thread touches them.
    std::deque<std::unique_ptr<CEntry>> m_entries;
    CQueuedPaths m_paths;

    // Shared with the workers.
    mutable std::mutex m_mutex;
    std::condition_variable m_workChanged;
    std::deque<CEntry*> m_waiting;
    std::vector<const CEntry*> m_running;
    std::vector<std::thread> m_workers;
    // What the finished files that wait to be judged keep.
    std::size_t m_nHeldBytes = 0;
    bool m_bClosing = false;
    int m_nFinished = 0;
    int m_nQueued = 0;
};
