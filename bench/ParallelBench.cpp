// SPDX-License-Identifier: GPL-3.0-or-later
// Adds a folder's PDFs through the document, one conversion at a time and as
// many at once as there are cores, and times the same pdftotext calls made by
// xargs -P. Prints the corpus's shape, the machine's load, every time and the
// ratios.
//
//   zelto_bench_parallel [folder] [files] [rounds]
//
// A folder that is missing, empty or made by this bench before is filled with
// a corpus shaped like a real archive: mostly short documents, a long tail,
// and one in a hundred of 1,000 to 2,000 pages. Any other folder (a real
// archive) is timed as it is: nothing is written into it but the text files
// of the runs, which are removed again. Both sides get the same list of
// PDFs: the regular files under the folder, links not followed, less any
// whose text file was there before (neither side may overwrite it).

#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"
#include "platform/PathRules.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Names the generator: a corpus made by another one is made again.
const char* const kCorpusMark = ".zelto-bench-corpus";
const char* const kCorpusKind = "pages: 85% 1-20, 10% 21-100, 4% 101-999, 1% 1000-2000\n";

std::uint32_t Mix(std::uint32_t value)
{
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    return value ^ (value >> 16);
}

// Every hundredth document is a manual of 1,000 to 2,000 pages; of the
// others 85 in 99 have 1 to 20 pages, 10 have 21 to 100 and 4 have 101 to
// 999, spread at random but the same on every run.
int PagesOf(int index)
{
    std::uint32_t random = Mix(static_cast<std::uint32_t>(index) + 1);
    int spread = static_cast<int>(random >> 8);
    if (index % 100 == 50)
        return 1000 + spread % 1001;
    int bucket = static_cast<int>(random % 99);
    if (bucket < 85)
        return 1 + spread % 20;
    if (bucket < 95)
        return 21 + spread % 80;
    return 101 + spread % 899;
}

std::string PageText(int page)
{
    std::string text;
    for (int line = 0; line < 45; ++line)
        text += "Line " + std::to_string(line) + " of page " + std::to_string(page) +
                ": the quick brown fox jumps over the lazy dog, 0123456789.\n";
    return text;
}

bool IsPdf(const fs::path& path)
{
    return CPathRules::CompareNoCase(path.extension().string(), ".pdf") == 0;
}

// A PDF or text file of a corpus this bench writes.
bool IsCorpusFile(const fs::path& path)
{
    std::string name = path.filename().string();
    std::string ext = path.extension().string();
    return name.size() == 12 && name.rfind("doc1", 0) == 0 && (ext == ".pdf" || ext == ".txt");
}

// Whether the bench may write its corpus here: a folder that is not there or
// is empty, that carries the mark, or that holds nothing but the files of an
// earlier corpus.
bool IsBenchCorpus(const fs::path& folder)
{
    if (!fs::exists(folder) || fs::exists(folder / kCorpusMark))
        return true;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    {
        if (!entry.is_regular_file() || !IsCorpusFile(entry.path()))
            return false;
    }
    return true;
}

void MakeCorpus(const fs::path& folder, int files)
{
    fs::create_directories(folder);
    std::ifstream markIn(folder / kCorpusMark);
    std::string mark((std::istreambuf_iterator<char>(markIn)), std::istreambuf_iterator<char>());
    // Text files left by a run that was broken off go, and so do the PDFs
    // of another generator.
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    {
        if (IsCorpusFile(entry.path()) && (!IsPdf(entry.path()) || mark != kCorpusKind))
            fs::remove(entry.path());
    }
    std::ofstream(folder / kCorpusMark) << kCorpusKind;
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

fs::path TextOf(const fs::path& pdf)
{
    return fs::path(pdf).replace_extension(".txt");
}

std::vector<std::string> ListPdfs(const fs::path& folder)
{
    std::vector<std::string> pdfs;
    int skipped = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    {
        if (!entry.is_regular_file() || entry.is_symlink() || !IsPdf(entry.path()))
            continue;
        if (fs::exists(TextOf(entry.path())))
            ++skipped;
        else
            pdfs.push_back(entry.path().string());
    }
    std::sort(pdfs.begin(), pdfs.end());
    if (skipped > 0)
        std::printf("%d PDFs left out: their text files were there before\n", skipped);
    return pdfs;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char ch : text)
        quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return quoted + "'";
}

// The page count pdfinfo gives, or -1.
int PagesIn(const std::string& pdf)
{
    std::string command = "pdfinfo " + Quoted(pdf) + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    int pages = -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        std::sscanf(line, "Pages: %d", &pages);
    ::pclose(pipe);
    return pages;
}

void PrintShape(const std::vector<std::string>& pdfs)
{
    std::vector<long> pages;
    std::uintmax_t bytes = 0;
    int unknown = 0;
    for (const std::string& pdf : pdfs)
    {
        bytes += fs::file_size(pdf);
        int count = PagesIn(pdf);
        if (count < 0)
            ++unknown;
        else
            pages.push_back(count);
    }
    std::sort(pages.begin(), pages.end());
    if (pages.empty())
        return;
    auto at = [&](double share)
    { return pages[static_cast<std::size_t>(share * static_cast<double>(pages.size() - 1))]; };
    long total = 0;
    long manuals = 0;
    for (long count : pages)
    {
        total += count;
        manuals += count >= 1000 ? 1 : 0;
    }
    std::printf("shape: %zu PDFs, %.0f MB; pages min %ld, median %ld, 90%% %ld, 99%% %ld, max %ld, "
                "total %ld; %ld of 1,000 pages or more; %d without a page count\n",
                pdfs.size(), static_cast<double>(bytes) / 1e6, pages.front(), at(0.5), at(0.9),
                at(0.99), pages.back(), total, manuals, unknown);
}

std::string Load()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void RemoveTexts(const std::vector<std::string>& pdfs)
{
    for (const std::string& pdf : pdfs)
        fs::remove(TextOf(pdf));
}

double TimeXargs(const std::vector<std::string>& pdfs, const std::string& list, int parallel)
{
    RemoveTexts(pdfs);
    std::string command = "xargs -0 -P " + std::to_string(parallel) + " -n 1 pdftotext -layout < " +
                          Quoted(list) + " 2>/dev/null";
    auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "xargs -P%d: some pdftotext runs failed\n", parallel);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double TimeDocument(const std::vector<std::string>& pdfs, int parallel)
{
    RemoveTexts(pdfs);
    CScriptedPrompts prompts;
    CMemorySettings settings;
    settings.SetInt("", CAddOptions::kConversionsAtOnce, parallel);
    CConverterTable table(std::make_shared<CConverterContext>());
    CZeltoDoc doc(table, prompts, prompts, settings);
    auto start = Clock::now();
    doc.OnDropFiles(pdfs);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (doc.RowCount() != static_cast<int>(pdfs.size()) || !prompts.Messages().empty())
        std::fprintf(stderr, "document N=%d: %d of %zu files listed, %zu messages\n", parallel,
                     doc.RowCount(), pdfs.size(), prompts.Messages().size());
    return seconds;
}

std::string WriteList(const std::vector<std::string>& pdfs)
{
    std::string list = (fs::temp_directory_path() / "zelto-bench-list").string();
    std::ofstream out(list, std::ios::binary | std::ios::trunc);
    for (const std::string& pdf : pdfs)
        out << pdf << '\0';
    return list;
}
} // namespace

int main(int argc, char** argv)
{
    // Each line as it comes, also into a log file: a run takes minutes.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path("bench/corpus");
    int files = argc > 2 ? std::atoi(argv[2]) : 1000;
    int rounds = argc > 3 ? std::atoi(argv[3]) : 1;
    int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (IsBenchCorpus(folder))
        MakeCorpus(folder, files);
    else
        std::printf("%s is timed as it is\n", folder.c_str());
    std::vector<std::string> pdfs = ListPdfs(folder);
    std::string list = WriteList(pdfs);
    PrintShape(pdfs);
    std::printf("%d cores, %d round(s); load %s\n", cores, rounds, Load().c_str());

    double best[4] = {1e9, 1e9, 1e9, 1e9};
    for (int round = 0; round < rounds; ++round)
    {
        double times[4] = {TimeXargs(pdfs, list, 1), TimeDocument(pdfs, 1),
                           TimeXargs(pdfs, list, cores), TimeDocument(pdfs, cores)};
        std::printf("round %d: xargs -P1 %.2f s, document N=1 %.2f s (%.3f), xargs -P%d %.2f s, "
                    "document N=%d %.2f s (%.3f); load %s\n",
                    round + 1, times[0], times[1], times[1] / times[0], cores, times[2], cores,
                    times[3], times[3] / times[2], Load().c_str());
        for (int i = 0; i < 4; ++i)
            best[i] = std::min(best[i], times[i]);
    }
    RemoveTexts(pdfs);
    fs::remove(list);
    std::printf("best N=1: document %.2f s / xargs -P1 %.2f s = %.3f (goal <= 1.05)\n", best[1],
                best[0], best[1] / best[0]);
    std::printf("best N=%d: document %.2f s / xargs -P%d %.2f s = %.3f (goal <= 1.10)\n", cores,
                best[3], cores, best[2], best[3] / best[2]);
    std::printf("speed-up of the document from N=1 to N=%d: %.2f\n", cores, best[1] / best[3]);
    return 0;
}
