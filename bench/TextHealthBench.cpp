// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the text health check over a folder of PDFs and prints the corpus's
// shape, the pages judged and flagged, each flagged page, and what the check
// cost against the pdftotext runs that made the texts.
//
//   zelto_bench_texthealth [--texts | --worker PROGRAM] [--figures FILE] FOLDER [ORIGINALS]
//
// FOLDER holds PDFs, each converted with `pdftotext -layout`, or with
// --texts the .txt files pdftotext made already (no times then). With
// --worker the extraction worker PROGRAM converts them instead and tells the
// pages drawn in fonts without a map to Unicode: the pages the stricter bar
// then adds are listed, and counted apart. ORIGINALS
// is the folder of sound PDFs (or texts) that the garbage in FOLDER was made
// from, under the same relative paths: each file is then sorted by how many
// of its original's words survive in its text, and the share of garbage
// files caught is printed. --figures writes every page's counts as
// tab-separated lines, for tuning.

#include "extract/CharClass.h"
#include "extract/PageHealthCheck.h"
#include "extract/TextHealth.h"
#include "extract/WorkerPool.h"
#include "platform/ChildProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace
{
using CClock = std::chrono::steady_clock;
// What one read of a pipe gives, at most.
constexpr std::size_t kPipeChunk = 65536;

double Seconds(CClock::time_point since)
{
    return std::chrono::duration<double>(CClock::now() - since).count();
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text of one file, made by pdftotext or a worker, or read, and the
// seconds the conversion took; a worker tells the pages drawn in fonts
// without a map.
std::string TextOf(const fs::path& path, bool texts, double& seconds,
                   CWorkerPool* workers = nullptr, std::vector<int>* unmappedFontPages = nullptr)
{
    if (texts)
        return ReadFile(path);
    std::string text;
    CChildRequest request;
    request.arguments = {"pdftotext", "-layout", "-enc", "UTF-8", path.string(), "-"};
    request.nTimeLimitSeconds = 120;
    request.onOutput = [&text](const char* data, std::size_t size)
    {
        text.append(data, size);
        return 0;
    };
    const auto start = CClock::now();
    if (workers)
    {
        bool byWorker = false;
        EPdfLock lock = EPdfLock::Open;
        workers->Run(request, {}, byWorker, lock, unmappedFontPages);
    }
    else
        CChildProcess::Run(request);
    seconds += Seconds(start);
    return text;
}

bool IsCorpusFile(const fs::path& path, bool texts)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return c | 0x20; });
    return ext == (texts ? ".txt" : ".pdf");
}

std::vector<fs::path> CorpusFiles(const fs::path& folder, bool texts)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && IsCorpusFile(entry.path(), texts))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The script most of a text's letters are in, as the corpus's shape names it.
std::string MainScript(std::string_view text)
{
    std::map<std::string, std::size_t> letters;
    for (std::size_t pos = 0; pos < text.size();)
    {
        const char32_t code = CCharClass::Next(text, pos);
        const CCharClass::CInfo info = CCharClass::Classify(code);
        if (info.eKind != CCharClass::EKind::Letter)
            continue;
        switch (info.nScript)
        {
        case CCharClass::Latin:
            ++letters["Latin"];
            break;
        case CCharClass::Greek:
            ++letters["Greek"];
            break;
        case CCharClass::Cyrillic:
            ++letters["Cyrillic"];
            break;
        case CCharClass::Arabic:
            ++letters["Arabic"];
            break;
        case CCharClass::Hebrew:
            ++letters["Hebrew"];
            break;
        case CCharClass::Cjk:
            ++letters[code >= 0xAC00 && code <= 0xD7AF ? "Korean" : "Chinese/Japanese"];
            break;
        default:
            ++letters["other"];
        }
    }
    auto most = std::max_element(letters.begin(), letters.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == letters.end() ? "none" : most->first;
}

// Words of a text: runs of letters, each Chinese, Japanese or Korean letter
// a word of its own.
std::unordered_map<std::string, int> Words(std::string_view text)
{
    std::unordered_map<std::string, int> words;
    std::string word;
    for (std::size_t pos = 0; pos <= text.size();)
    {
        std::size_t start = pos;
        CCharClass::CInfo info;
        if (pos < text.size())
            info = CCharClass::Classify(CCharClass::Next(text, pos));
        else
            ++pos;
        const bool letter = info.eKind == CCharClass::EKind::Letter;
        if (letter && info.nScript != CCharClass::Cjk)
        {
            word.append(text.substr(start, pos - start));
            continue;
        }
        if (!word.empty())
            ++words[word];
        word.clear();
        if (letter)
            ++words[std::string(text.substr(start, pos - start))];
    }
    return words;
}

// The share of the original's words found in the text.
double Survival(std::string_view original, std::string_view text)
{
    const auto before = Words(original);
    const auto after = Words(text);
    long total = 0;
    long kept = 0;
    for (const auto& [word, count] : before)
    {
        total += count;
        auto found = after.find(word);
        if (found != after.end())
            kept += std::min(count, found->second);
    }
    return total == 0 ? 1.0 : static_cast<double>(kept) / static_cast<double>(total);
}

const char* SignName(CTextHealth::ESign sign)
{
    switch (sign)
    {
    case CTextHealth::ESign::BadCharacters:
        return "bad characters";
    case CTextHealth::ESign::ShiftedAlphabet:
        return "shifted alphabet";
    case CTextHealth::ESign::MixedScripts:
        return "mixed scripts";
    case CTextHealth::ESign::RareLetters:
        return "rare letters";
    case CTextHealth::ESign::OddPairs:
        return "odd pairs";
    case CTextHealth::ESign::BrokenWords:
        return "broken words";
    case CTextHealth::ESign::ChaoticCase:
        return "chaotic case";
    case CTextHealth::ESign::None:
        break;
    }
    return "";
}

void WriteFigures(std::ofstream& out, const std::string& file, std::size_t number,
                  const CTextHealth::CPage& page, bool unmappedFonts)
{
    const CPageScan::CCounts& c = page.counts;
    out << file << '\t' << number << '\t' << page.bJudged << '\t' << SignName(page.eSign) << '\t'
        << page.nShift << '\t' << unmappedFonts << '\t' << page.bGarbledIfUnmapped;
    for (std::size_t figure :
         {c.nVisible, c.nBad, c.nWords, c.nMixedWords, c.nWordLetters, c.nRareLetters,
          c.nCasedPairs, c.nCaseChanges, c.nPairs, c.nOddPairs, c.nOddKinds, c.nLowerLetters,
          c.nCapitalTokenChars, c.nCapitalTokenLetters, c.nLowerVowels, c.nBrokenTokenChars,
          c.nAccented})
        out << '\t' << figure;
    out << '\n';
}

struct CTally
{
    int nFiles = 0;
    int nCaught = 0;
    // Caught only by the stricter bar of pages drawn in fonts without a map.
    int nCaughtByFonts = 0;
    int nEmpty = 0;
    std::vector<std::string> missed;
};
} // namespace

int main(int argc, char** argv)
{
    bool texts = false;
    std::unique_ptr<CWorkerPool> workers;
    std::ofstream figures;
    std::vector<std::string> folders;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--texts") == 0)
            texts = true;
        else if (std::strcmp(argv[i], "--worker") == 0 && i + 1 < argc)
            workers = std::make_unique<CWorkerPool>(argv[++i]);
        else if (std::strcmp(argv[i], "--figures") == 0 && i + 1 < argc)
            figures.open(argv[++i]);
        else
            folders.push_back(argv[i]);
    }
    if (folders.empty() || folders.size() > 2)
    {
        std::fprintf(stderr,
                     "usage: %s [--texts | --worker PROGRAM] [--figures FILE] FOLDER [ORIGINALS]\n",
                     argv[0]);
        return 2;
    }
    const fs::path folder = folders[0];
    const bool compare = folders.size() == 2;

    std::uintmax_t bytes = 0;
    std::vector<std::uintmax_t> sizes;
    std::map<std::string, int> scripts;
    long pages = 0;
    long judged = 0;
    long flagged = 0;
    int filesFlagged = 0;
    // Pages the worker found drawn in fonts without a map, those the
    // stricter bar adds to the flagged ones, and the files it adds.
    long fontPages = 0;
    int fontFiles = 0;
    long fontsAdded = 0;
    int filesAddedByFonts = 0;
    double toolSeconds = 0;
    double checkSeconds = 0;
    std::map<std::string, long> signs;
    // Garbage files (under half of the original's words survive), partly
    // garbled ones (under 95%) and those the stripping left sound.
    CTally garbage, partial, unchanged;
    std::vector<fs::path> files = CorpusFiles(folder, texts);
    for (const fs::path& file : files)
    {
        const std::string relative = fs::relative(file, folder).string();
        sizes.push_back(fs::file_size(file));
        bytes += sizes.back();
        std::vector<int> unmapped;
        const std::string text = TextOf(file, texts, toolSeconds, workers.get(), &unmapped);
        ++scripts[MainScript(text)];

        // Timed as conversions run it: fed as the tool's pipe gives the
        // text, a page held at a time.
        const auto start = CClock::now();
        CPageHealthCheck check;
        for (std::size_t at = 0; at < text.size(); at += kPipeChunk)
            check.Feed(std::string_view(text).substr(at, kPipeChunk));
        check.Finish();
        const std::vector<int> reported = check.GarbledPages(unmapped);
        checkSeconds += Seconds(start);
        const std::vector<int> garbled = CTextHealth::GarbledPages(text);

        const std::vector<std::string_view> split = CTextHealth::SplitPages(text);
        pages += static_cast<long>(split.size());
        fontPages += static_cast<long>(unmapped.size());
        fontFiles += !unmapped.empty();
        std::vector<std::string> why;
        std::vector<int> byFonts;
        for (std::size_t i = 0; i < split.size(); ++i)
        {
            const CTextHealth::CPage page = CTextHealth::JudgePage(split[i]);
            const int number = static_cast<int>(i + 1);
            judged += page.bJudged;
            if (page.Garbled())
            {
                ++signs[SignName(page.eSign)];
                why.push_back(std::to_string(number) + " " + SignName(page.eSign));
            }
            const bool fonts = std::binary_search(unmapped.begin(), unmapped.end(), number);
            if (!page.Garbled() && page.bGarbledIfUnmapped && fonts)
            {
                byFonts.push_back(number);
                std::printf("  %s: page %d by its fonts (%zu visible)\n", relative.c_str(), number,
                            page.counts.nVisible);
            }
            if (figures.is_open())
                WriteFigures(figures, relative, i + 1, page, fonts);
        }
        std::vector<int> both;
        std::merge(garbled.begin(), garbled.end(), byFonts.begin(), byFonts.end(),
                   std::back_inserter(both));
        if (both != reported)
            std::printf("  %s: the streamed check found other pages: %s\n", relative.c_str(),
                        CTextHealth::PageRanges(reported).c_str());
        flagged += static_cast<long>(garbled.size());
        filesFlagged += !garbled.empty();
        fontsAdded += static_cast<long>(byFonts.size());
        const bool caughtByFonts = garbled.empty() && !byFonts.empty();
        filesAddedByFonts += caughtByFonts;
        if (!garbled.empty())
        {
            std::printf("  %s: %s (", relative.c_str(), CTextHealth::PageRanges(garbled).c_str());
            for (std::size_t i = 0; i < why.size() && i < 4; ++i)
                std::printf("%s%s", i ? "; " : "", why[i].c_str());
            std::printf("%s)\n", why.size() > 4 ? "; ..." : "");
        }
        if (compare)
        {
            double unused = 0;
            const std::string original = TextOf(folders[1] / fs::path(relative), texts, unused);
            const double survival = Survival(original, text);
            CTally& tally = survival < 0.5 ? garbage : survival < 0.95 ? partial : unchanged;
            ++tally.nFiles;
            if (!garbled.empty() || caughtByFonts)
            {
                ++tally.nCaught;
                tally.nCaughtByFonts += caughtByFonts;
            }
            else if (Words(text).empty())
                ++tally.nEmpty;
            else
                tally.missed.push_back(relative + " (" + std::to_string(survival) + ")");
        }
    }

    std::sort(sizes.begin(), sizes.end());
    std::printf("corpus %s: %zu files, %.1f MB (median %.0f KB, largest %.0f KB), %ld pages, "
                "%ld judged\n",
                folder.c_str(), files.size(), static_cast<double>(bytes) / 1e6,
                sizes.empty() ? 0.0 : static_cast<double>(sizes[sizes.size() / 2]) / 1e3,
                sizes.empty() ? 0.0 : static_cast<double>(sizes.back()) / 1e3, pages, judged);
    std::printf("main script:");
    for (const auto& [script, count] : scripts)
        std::printf(" %s %d,", script.c_str(), count);
    std::printf("\nflagged: %ld of %ld judged pages (%.2f%%), in %d of %zu files\n", flagged,
                judged,
                judged ? 100.0 * static_cast<double>(flagged) / static_cast<double>(judged) : 0.0,
                filesFlagged, files.size());
    for (const auto& [sign, count] : signs)
        std::printf("  %s: %ld pages\n", sign.c_str(), count);
    if (workers)
        std::printf("fonts without a map: %ld pages in %d files; the stricter bar adds %ld pages, "
                    "%d files\n",
                    fontPages, fontFiles, fontsAdded, filesAddedByFonts);
    if (!texts)
        std::printf("time: %s %.2f s, check %.3f s (%.2f%% of the conversion)\n",
                    workers ? "worker" : "pdftotext", toolSeconds, checkSeconds,
                    toolSeconds > 0 ? 100 * checkSeconds / toolSeconds : 0.0);
    else
        std::printf("time: check %.3f s\n", checkSeconds);
    if (compare)
    {
        const auto print = [](const char* name, const CTally& tally)
        {
            std::printf("%s: %d files, caught %d (%.1f%%; %d by fonts), empty text %d\n", name,
                        tally.nFiles, tally.nCaught,
                        tally.nFiles ? 100.0 * tally.nCaught / tally.nFiles : 0.0,
                        tally.nCaughtByFonts, tally.nEmpty);
            for (const std::string& missed : tally.missed)
                std::printf("  missed %s\n", missed.c_str());
        };
        print("garbage (under half the words survive)", garbage);
        print("partly garbled (half to 95%)", partial);
        print("sound after stripping (95% or more)", unchanged);
    }
}
