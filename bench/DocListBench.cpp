// Fills the document's list with converters in random order, each one first
// looked up by its source path as an add does, and prints the cost per file
// as the list grows. The converters are made before the clock starts: what
// is timed is the duplicate check and the sorted insertion.
//
//   zelto_bench_doclist [files] [rounds]     (defaults: 100000 3)

#include "ScriptedPrompts.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

// Paths shaped like a real collection: a few hundred folders of a few
// hundred files each, names of mixed case.
std::vector<std::string> MakePaths(int count)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        paths.push_back("/home/user/Documents/Archive/Folder " + std::to_string(i % 397) +
                        "/Report-" + std::to_string(i * 7919 % 1000003) +
                        (i % 3 ? ".pdf" : ".PDF"));
    }
    std::shuffle(paths.begin(), paths.end(), std::mt19937(20240601));
    return paths;
}

struct CMilestone
{
    int nFiles;
    double dAverageUs;  // over every file up to here
    double dMarginalUs; // over the last tenth before here
};

std::vector<CMilestone> RunOnce(CConverterTable& table, CScriptedPrompts& prompts,
                                const std::vector<std::string>& paths,
                                const std::vector<int>& milestones)
{
    std::vector<std::unique_ptr<CConverter>> converters;
    converters.reserve(paths.size());
    for (const std::string& path : paths)
        converters.push_back(table.FindConverter(path));

    CMemorySettings settings;
    CZeltoDoc doc(table, prompts, settings);
    std::vector<CMilestone> figures;
    std::vector<Clock::time_point> stamps{Clock::now()};
    auto start = stamps.front();
    std::size_t next = 0;
    int tenthStart = milestones[0] - milestones[0] / 10;
    Clock::time_point tenthClock = start;
    for (int i = 0; i < static_cast<int>(converters.size()); ++i)
    {
        if (i == tenthStart)
            tenthClock = Clock::now();
        const std::string& path = paths[static_cast<std::size_t>(i)];
        if (!doc.FindBySourcePath(path))
            doc.InsertSorted(std::move(converters[static_cast<std::size_t>(i)]));
        if (next < milestones.size() && i + 1 == milestones[next])
        {
            auto now = Clock::now();
            double total = std::chrono::duration<double, std::micro>(now - start).count();
            double tenth = std::chrono::duration<double, std::micro>(now - tenthClock).count();
            figures.push_back({i + 1, total / (i + 1), tenth / (i + 1 - tenthStart)});
            if (++next < milestones.size())
                tenthStart = milestones[next] - milestones[next] / 10;
        }
    }
    if (doc.RowCount() != static_cast<int>(paths.size()))
        std::fprintf(stderr, "unexpected row count %d\n", doc.RowCount());
    return figures;
}
} // namespace

int main(int argc, char** argv)
{
    int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    std::vector<int> milestones;
    for (int n = 1000; n <= files; n *= 10)
        milestones.push_back(n);
    if (milestones.empty() || milestones.back() != files)
        milestones.push_back(files);

    CScriptedPrompts prompts;
    CConverterTable table(std::make_shared<CConverterContext>(&prompts));
    std::vector<std::string> paths = MakePaths(files);

    std::vector<CMilestone> best;
    for (int round = 0; round < rounds; ++round)
    {
        std::vector<CMilestone> figures = RunOnce(table, prompts, paths, milestones);
        if (best.empty())
            best = figures;
        for (std::size_t i = 0; i < figures.size(); ++i)
        {
            best[i].dAverageUs = std::min(best[i].dAverageUs, figures[i].dAverageUs);
            best[i].dMarginalUs = std::min(best[i].dMarginalUs, figures[i].dMarginalUs);
        }
    }
    std::printf("duplicate check + sorted insertion, random order, best of %d rounds\n", rounds);
    std::printf("%10s %22s %26s\n", "files", "us/file (all so far)", "us/file (last tenth)");
    for (const CMilestone& figure : best)
        std::printf("%10d %22.3f %26.3f\n", figure.nFiles, figure.dAverageUs, figure.dMarginalUs);
    return 0;
}
