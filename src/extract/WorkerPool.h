// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PdfLock.h"
#include "platform/ChildProcess.h"
#include "platform/Executables.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CWorkerProcess;

// The extraction workers of the program: runs of pdftotext go to a worker
// that stays running, and give the result the tool would give, only
// without starting a program for every file. There are as many workers as
// runs at once; an idle one waits for the next run. A worker is replaced
// after a number of files, so that nothing it leaks can build up, and after
// it died or was ended on a file. Where no worker can start, or for
// arguments a worker does not take, the tool itself runs. Any thread may
// call Run.
class CWorkerPool
{
public:
    static constexpr const char* kWorkerName = CExecutables::kWorker;
    // Each worker's address space is capped at this many mebibytes: far
    // above what the text of real PDFs takes (see bench/), far below what
    // would starve the machine.
    static constexpr int kMemoryLimitMebibytes = 2048;
    static constexpr int kFilesPerWorker = 500;

    // `program` is the worker's path; `memoryLimitMebibytes` 0 sets no cap.
    explicit CWorkerPool(std::string program, int memoryLimitMebibytes = kMemoryLimitMebibytes,
                         int filesPerWorker = kFilesPerWorker);
    ~CWorkerPool();
    CWorkerPool(const CWorkerPool&) = delete;
    CWorkerPool& operator=(const CWorkerPool&) = delete;

    // The worker installed with the program whose folder is given (see
    // CExecutables::FindWorker). Empty when there is none.
    static std::string FindWorker(const std::string& programFolder);

    // Runs the tool's request in a worker, or the tool itself. `byWorker`,
    // when given, tells which ran.
    CChildResult Run(const CChildRequest& request, bool* byWorker = nullptr);
    // The same, a worker trying `passwords` on a locked PDF; `lock` tells
    // what it found (Open when the tool ran, which is given no password).
    // `unmappedFontPages`, when given, receives the pages (from 1, rising)
    // a worker drew in good part in fonts without a map to Unicode; none
    // when the tool ran.
    CChildResult Run(const CChildRequest& request, const std::vector<std::string>& passwords,
                     bool& byWorker, EPdfLock& lock, std::vector<int>* unmappedFontPages = nullptr);

    // Ends the workers that wait for a file; the next run starts afresh.
    void EndIdleWorkers();

    // False once a worker failed to start: the tool runs from then on.
    bool IsAvailable() const;
    // The process ids of the workers running files now, for tests.
    std::vector<long> BusyWorkers() const;

private:
    std::unique_ptr<CWorkerProcess> TakeWorker();
    void GiveBack(std::unique_ptr<CWorkerProcess> worker, long processId);

    const std::string m_strProgram;
    const int m_nMemoryLimitMebibytes;
    const int m_nFilesPerWorker;
    mutable std::mutex m_mutex;
    bool m_bAvailable = true;
    std::vector<std::unique_ptr<CWorkerProcess>> m_idle;
    std::vector<long> m_busy;
};
