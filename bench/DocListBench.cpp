// SPDX-License-Identifier: GPL-3.0-or-later
// Fills the file list the document keeps with converters in random order,
// each one first looked up by its source path as an add does, and prints the
// cost per file as the list grows. What is timed is the duplicate check and
// the sorted insertion. An add makes each converter just before it lists it,
// so here they are made a small batch at a time, off the clock, right before
// their batch is inserted: the figures are those of the list, not of reading
// a hundred thousand converters made long ago back from main memory. Given
// "cold", it makes every converter before the first is inserted instead,
// which shows what that reading costs.
//
//   zelto_bench_doclist [files] [rounds] [cold]     (defaults: 100000 5)

#include "ListPaths.h"
#include "ScriptedPrompts.h"
#include "doc/ConverterList.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr int kBatch = 100;

struct CMilestone
{
    int nFiles;
    double dAverageUs;  // over every file up to here
    double dMarginalUs; // over the last tenth before here
};

using Microseconds = std::chrono::duration<double, std::micro>;

std::vector<CMilestone> RunOnce(CConverterTable& table, const std::vector<std::string>& paths,
                                const std::vector<int>& milestones, bool cold)
{
    std::vector<std::unique_ptr<CConverter>> madeEarlier;
    if (cold)
    {
        for (const std::string& path : paths)
            madeEarlier.push_back(table.FindConverter(path));
    }
    CConverterList list(table.Context().PathRules());
    std::vector<CMilestone> figures;
    // The time spent up to each batch boundary, so that any stretch that
    // starts and ends on one can be read off.
    std::vector<double> elapsedAt{0.0};
    std::vector<std::unique_ptr<CConverter>> batch;
    int count = static_cast<int>(paths.size());
    for (int first = 0; first < count; first += kBatch)
    {
        int end = std::min(count, first + kBatch);
        batch.clear();
        for (int i = first; i < end; ++i)
        {
            auto index = static_cast<std::size_t>(i);
            batch.push_back(cold ? std::move(madeEarlier[index])
                                 : table.FindConverter(paths[index]));
        }
        auto start = Clock::now();
        for (int i = first; i < end; ++i)
        {
            std::unique_ptr<CConverter>& converter = batch[static_cast<std::size_t>(i - first)];
            if (list.FindBySourcePath(paths[static_cast<std::size_t>(i)]))
                continue;
            // The row first: an argument that moves the converter may be
            // made before the one that reads it.
            int row = list.UpperBound(converter->m_strTextPath);
            list.Insert(row, std::move(converter));
        }
        elapsedAt.push_back(elapsedAt.back() + Microseconds(Clock::now() - start).count());
    }
    if (list.Size() != count)
        std::fprintf(stderr, "unexpected row count %d\n", list.Size());
    for (int files : milestones)
    {
        int tenthStart = files - files / 10;
        double total = elapsedAt[static_cast<std::size_t>(files / kBatch)];
        double before = elapsedAt[static_cast<std::size_t>(tenthStart / kBatch)];
        figures.push_back({files, total / files, (total - before) / (files - tenthStart)});
    }
    return figures;
}
} // namespace

int main(int argc, char** argv)
{
    // Milestones fall on batch boundaries.
    int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    files = std::max(1000, files / (10 * kBatch) * (10 * kBatch));
    int rounds = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
    bool cold = argc > 3 && std::string(argv[3]) == "cold";
    std::vector<int> milestones;
    for (int n = 1000; n <= files; n *= 10)
        milestones.push_back(n);
    if (milestones.empty() || milestones.back() != files)
        milestones.push_back(files);

    CScriptedPrompts prompts;
    CConverterTable table(std::make_shared<CConverterContext>());
    std::vector<std::string> paths = CListPaths::Make(files);

    std::vector<CMilestone> best;
    for (int round = 0; round < rounds; ++round)
    {
        std::vector<CMilestone> figures = RunOnce(table, paths, milestones, cold);
        if (best.empty())
            best = figures;
        for (std::size_t i = 0; i < figures.size(); ++i)
        {
            best[i].dAverageUs = std::min(best[i].dAverageUs, figures[i].dAverageUs);
            best[i].dMarginalUs = std::min(best[i].dMarginalUs, figures[i].dMarginalUs);
        }
    }
    std::printf("duplicate check + sorted insertion, random order, best of %d rounds%s\n", rounds,
                cold ? ", converters made in advance" : "");
    std::printf("%10s %22s %26s\n", "files", "us/file (all so far)", "us/file (last tenth)");
    for (const CMilestone& figure : best)
        std::printf("%10d %22.3f %26.3f\n", figure.nFiles, figure.dAverageUs, figure.dMarginalUs);
    return 0;
}
