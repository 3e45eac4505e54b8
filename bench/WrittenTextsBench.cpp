// SPDX-License-Identifier: GPL-3.0-or-later
// What remembering the text files of one add costs: the heap it takes for
// a million files, and the time of a note and of each kind of question
// (a text never written, one written lately, one written long ago), each
// asked about a text file as new as the newest written, the worst case: a
// text older than the oldest written is not looked up at all.
//
//   zelto_bench_writtentexts [FILES]
#include "ListPaths.h"
#include "doc/WrittenTexts.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
double HeapMiB()
{
    struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1 << 20);
}

// Text keys as an add makes them: a folder's identity and a name.
std::string TextKey(const std::string& source)
{
    std::size_t slash = source.rfind('/');
    return "id 2049:" + std::to_string(std::hash<std::string>{}(source.substr(0, slash)) % 999983) +
           " " + source.substr(slash + 1) + ".txt";
}

template <typename FBody> double MicrosecondsEach(int count, FBody body)
{
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        body(i);
    std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    return took.count() / count;
}
} // namespace

int main(int argc, char** argv)
{
    int files = argc > 1 ? std::atoi(argv[1]) : 1000000;
    std::vector<std::string> sources = CListPaths::Make(files);
    std::vector<std::string> keys;
    keys.reserve(sources.size());
    for (const std::string& source : sources)
        keys.push_back(TextKey(source));

    double heapBefore = HeapMiB();
    CWrittenTexts written;
    double note =
        MicrosecondsEach(files,
                         [&](int i)
                         {
                             std::size_t at = static_cast<std::size_t>(i);
                             written.Note(keys[at], {"id 2049:7 " + sources[at], sources[at]}, i);
                         });
    double heapAfter = HeapMiB();
    int found = 0;
    double miss = MicrosecondsEach(
        files, [&](int i)
        { found += written.WriterOf(keys[static_cast<std::size_t>(i)] + "x", files) ? 1 : 0; });
    double recent = MicrosecondsEach(
        100,
        [&](int i) {
            found += written.WriterOf(keys[static_cast<std::size_t>(files - 1 - i)], files) ? 1 : 0;
        });
    double old = MicrosecondsEach(
        10, [&](int i)
        { found += written.WriterOf(keys[static_cast<std::size_t>(i)], files) ? 1 : 0; });
    std::printf("%d files (paths %zu bytes on average)\n", files,
                [&]
                {
                    std::size_t bytes = 0;
                    for (const std::string& source : sources)
                        bytes += source.size();
                    return bytes / sources.size();
                }());
    std::printf("heap taken: %.2f MiB (filters %.2f MiB)\n", heapAfter - heapBefore,
                static_cast<double>(written.FilterBytes()) / (1 << 20));
    std::printf("note: %.2f us; never written: %.3f us; written lately: %.0f us; "
                "written long ago: %.0f us; found %d of %d written, %d false\n",
                note, miss, recent, old, found - 0, 110, found - 110);
    return 0;
}
