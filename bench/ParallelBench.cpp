// Adds a folder of PDFs through the document, one conversion at a time and
// as many at once as there are cores, and times the same pdftotext calls
// made by find | xargs -P. Prints every time and the ratios. The corpus is
// written on first use: PDFs of 1 to a few hundred pages of text.
//
//   zelto_bench_parallel [corpus folder] [files] [rounds]

#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Mostly short documents, with one in ten long, as in a real archive.
int PagesOf(int index)
{
    if (index % 10 == 9)
        return 100 + (index * 13) % 200;
    return 1 + (index * 37) % 20;
}

std::string PageText(int page)
{
    std::string text;
    for (int line = 0; line < 45; ++line)
        text += "Line " + std::to_string(line) + " of page " + std::to_string(page) +
                ": the quick brown fox jumps over the lazy dog, 0123456789.\n";
    return text;
}

void MakeCorpus(const fs::path& folder, int files)
{
    fs::create_directories(folder);
    int made = 0;
    for (int i = 0; i < files; ++i)
    {
        fs::path pdf = folder / ("doc" + std::to_string(10000 + i) + ".pdf");
        if (fs::exists(pdf))
            continue;
        std::vector<std::string> pages;
        for (int page = 0; page < PagesOf(i); ++page)
            pages.push_back(PageText(page));
        CPdfMaker::Write(pdf.string(), pages);
        ++made;
    }
    if (made > 0)
        std::printf("corpus: wrote %d PDFs in %s\n", made, folder.c_str());
}

void RemoveTexts(const fs::path& folder)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    {
        if (entry.path().extension() == ".txt")
            fs::remove(entry.path());
    }
}

double TimeXargs(const fs::path& folder, int parallel)
{
    RemoveTexts(folder);
    std::string command = "find '" + folder.string() + "' -name '*.pdf' -print0 | xargs -0 -P " +
                          std::to_string(parallel) + " -n 1 pdftotext -layout";
    auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "xargs run reported a failure\n");
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double TimeDocument(const fs::path& folder, int parallel, int expected)
{
    RemoveTexts(folder);
    CScriptedPrompts prompts;
    prompts.AnswerFolderNext(FolderAnswerYesToAll);
    CMemorySettings settings;
    settings.SetInt("", CZeltoDoc::kConversionsAtOnce, parallel);
    CConverterTable table(std::make_shared<CConverterContext>(&prompts));
    CZeltoDoc doc(table, prompts, settings);
    auto start = Clock::now();
    doc.OnDropFiles({folder.string()});
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (doc.RowCount() != expected || !prompts.Messages().empty())
        std::fprintf(stderr, "document run: %d of %d files listed, %zu messages\n", doc.RowCount(),
                     expected, prompts.Messages().size());
    return seconds;
}
} // namespace

int main(int argc, char** argv)
{
    fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path("bench/corpus");
    int files = argc > 2 ? std::atoi(argv[2]) : 1000;
    int rounds = argc > 3 ? std::atoi(argv[3]) : 1;
    int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    MakeCorpus(folder, files);
    int pdfs = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        pdfs += entry.path().extension() == ".pdf" ? 1 : 0;
    std::printf("%d PDFs, %d cores, %d round(s); best times count\n", pdfs, cores, rounds);

    double best[4] = {1e9, 1e9, 1e9, 1e9};
    for (int round = 0; round < rounds; ++round)
    {
        double times[4] = {TimeXargs(folder, 1), TimeDocument(folder, 1, pdfs),
                           TimeXargs(folder, cores), TimeDocument(folder, cores, pdfs)};
        std::printf("round %d: xargs -P1 %.2f s, document N=1 %.2f s, xargs -P%d %.2f s, "
                    "document N=%d %.2f s\n",
                    round + 1, times[0], times[1], cores, times[2], cores, times[3]);
        for (int i = 0; i < 4; ++i)
            best[i] = std::min(best[i], times[i]);
    }
    RemoveTexts(folder);
    std::printf("N=1: document %.2f s / xargs -P1 %.2f s = %.3f (goal <= 1.05)\n", best[1], best[0],
                best[1] / best[0]);
    std::printf("N=%d: document %.2f s / xargs -P%d %.2f s = %.3f (goal <= 1.10)\n", cores, best[3],
                cores, best[2], best[3] / best[2]);
    std::printf("speed-up of the document from N=1 to N=%d: %.2f\n", cores, best[1] / best[3]);
    return 0;
}
