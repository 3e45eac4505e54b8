// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a long file list costs in memory: the converters of the
// listed files, made as an add makes them, then the same converters filed in
// the list the document keeps (its rows, sort keys and hashes). Both as
// bytes of the heap in use per file and as the resident memory of this
// process, which is what a system monitor shows.
//
//   zelto_bench_docmemory [files] [path-list]     (default: 100000)
//
// The paths are made up (folders of reports) unless a file listing real
// paths, one per line, is given: they are then taken in its order, again
// under one more folder for each further round, until there are enough.

#include "ListPaths.h"
#include "ScriptedPrompts.h"
#include "doc/ConverterList.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
double HeapMiB()
{
    // Blocks large enough to be mapped on their own are counted apart.
    struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1 << 20);
}

// The resident memory of this process, from the kernel's own account.
double ResidentMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
    {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024;
    }
    return 0;
}

std::vector<std::string> ReadPaths(const char* listFile, int files)
{
    std::vector<std::string> listed;
    std::ifstream in(listFile);
    for (std::string line; std::getline(in, line);)
    {
        if (!line.empty())
            listed.push_back(line);
    }
    std::vector<std::string> paths;
    for (int round = 0; !listed.empty() && static_cast<int>(paths.size()) < files; ++round)
    {
        std::string folder = round == 0 ? "" : "/copy " + std::to_string(round);
        for (std::size_t i = 0; i < listed.size() && static_cast<int>(paths.size()) < files; ++i)
            paths.push_back(folder + listed[i]);
    }
    return paths;
}

void PrintStep(const char* step, double heapBefore, double heapAfter, int files)
{
    std::printf("%-34s %10.1f MiB heap %8.0f bytes/file %10.1f MiB resident\n", step,
                heapAfter - heapBefore, (heapAfter - heapBefore) * (1 << 20) / files,
                ResidentMiB());
}
} // namespace

int main(int argc, char** argv)
{
    int files = std::max(1, argc > 1 ? std::atoi(argv[1]) : 100000);
    CScriptedPrompts prompts;
    CConverterTable table(std::make_shared<CConverterContext>());
    std::vector<std::string> paths = argc > 2 ? ReadPaths(argv[2], files) : CListPaths::Make(files);
    if (paths.empty())
    {
        std::fprintf(stderr, "no paths in %s\n", argv[2]);
        return 1;
    }
    files = static_cast<int>(paths.size());
    std::size_t pathBytes = 0;
    for (const std::string& path : paths)
        pathBytes += path.size();
    std::printf("%d files, source paths of %.1f bytes on average\n", files,
                static_cast<double>(pathBytes) / files);
    std::printf("%-34s %10s %22s %19.1f MiB resident\n", "before", "", "", ResidentMiB());

    double heapStart = HeapMiB();
    std::vector<std::unique_ptr<CConverter>> made;
    made.reserve(paths.size());
    for (const std::string& path : paths)
        made.push_back(table.FindConverter(path));
    double heapMade = HeapMiB();
    PrintStep("converters made", heapStart, heapMade, files);

    CConverterList list(table.Context().PathRules());
    for (std::size_t i = 0; i < made.size(); ++i)
    {
        if (list.FindBySourcePath(paths[i]))
            continue;
        int row = list.UpperBound(made[i]->m_strTextPath);
        list.Insert(row, std::move(made[i]));
    }
    made.clear();
    made.shrink_to_fit();
    double heapListed = HeapMiB();
    PrintStep("rows, keys and hashes of the list", heapMade, heapListed, files);
    PrintStep("the list with its converters", heapStart, heapListed, files);
    if (list.Size() != files)
        std::fprintf(stderr, "unexpected row count %d\n", list.Size());
    return 0;
}
