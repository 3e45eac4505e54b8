// SPDX-License-Identifier: GPL-3.0-or-later
// zelto-extract-worker: converts PDF files to text for Zelto Extractor, one
// after another, as asked over its standard input. Started and ended by the
// program; not meant to be run by hand.
#include "WorkerLoop.h"

#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace
{
// The worker's address space may not grow past this many mebibytes, so that
// one hostile PDF cannot take the machine's memory: the allocation that
// would pass it fails, and the worker ends on that file alone.
void LimitMemory(const char* mebibytes)
{
    char* end = nullptr;
    unsigned long long limit = std::strtoull(mebibytes, &end, 10);
    if (limit == 0 || *end != '\0')
        return;
    rlimit memory{limit << 20, limit << 20};
    ::setrlimit(RLIMIT_AS, &memory);
}

// The worker ends the moment its input closes, even in the middle of a
// file: the program that started it has ended or has given it up.
void EndWhenInputCloses()
{
    std::thread(
        []
        {
            pollfd input{STDIN_FILENO, 0, 0};
            while (::poll(&input, 1, -1) < 0)
            {
            }
            ::_exit(0);
        })
        .detach();
}
} // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i + 1 < argc; ++i)
    {
        if (std::strcmp(argv[i], "--memory-limit") == 0)
            LimitMemory(argv[i + 1]);
    }
    EndWhenInputCloses();
    return CWorkerLoop(STDIN_FILENO, STDOUT_FILENO).Run();
}
