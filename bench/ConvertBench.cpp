// SPDX-License-Identifier: GPL-3.0-or-later
// Converts the same one-page PDFs through the program's converter and with a
// plain loop of pdftotext calls, and prints both times and their ratio. The
// two are run in alternating rounds so that a slow moment of the machine
// does not fall on one side only; the best round of each counts.

#include "ConversionSteps.h"
#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace
{
using Clock = std::chrono::steady_clock;

// CPU time this process itself has used so far (children not counted): what
// the program adds to each tool run.
double OwnCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto toSeconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

double Seconds(Clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

void RemoveTexts(const std::vector<std::string>& pdfs)
{
    for (const std::string& pdf : pdfs)
        std::filesystem::remove(pdf.substr(0, pdf.size() - 4) + ".txt");
}

double g_plainCpu = 0;
double g_converterCpu = 0;

double PlainLoop(const std::vector<std::string>& pdfs)
{
    RemoveTexts(pdfs);
    double cpuStart = OwnCpuSeconds();
    auto start = Clock::now();
    for (const std::string& pdf : pdfs)
    {
        std::string text = pdf.substr(0, pdf.size() - 4) + ".txt";
        const char* argv[] = {"pdftotext", "-layout", pdf.c_str(), text.c_str(), nullptr};
        pid_t pid;
        if (posix_spawnp(&pid, "pdftotext", nullptr, nullptr, const_cast<char**>(argv), environ) !=
            0)
        {
            std::perror("pdftotext");
            std::exit(1);
        }
        int status;
        waitpid(pid, &status, 0);
    }
    double elapsed = Seconds(Clock::now() - start);
    g_plainCpu += OwnCpuSeconds() - cpuStart;
    return elapsed;
}

double ThroughConverter(const std::vector<std::string>& pdfs)
{
    RemoveTexts(pdfs);
    CScriptedPrompts prompts;
    auto context = std::make_shared<CConverterContext>();
    CConverterTable table(context);
    double cpuStart = OwnCpuSeconds();
    auto start = Clock::now();
    for (const std::string& pdf : pdfs)
    {
        std::unique_ptr<CConverter> converter = table.FindConverter(pdf);
        CConversionSteps::Run(*converter, prompts);
    }
    double elapsed = Seconds(Clock::now() - start);
    g_converterCpu += OwnCpuSeconds() - cpuStart;
    if (!prompts.Messages().empty())
    {
        std::fprintf(stderr, "unexpected message: %s\n", prompts.Messages()[0].strText.c_str());
        std::exit(1);
    }
    return elapsed;
}
} // namespace

int main(int argc, char** argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : 200;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    CTempDir dir;
    std::vector<std::string> pdfs;
    for (int i = 0; i < count; ++i)
    {
        std::string path = dir / ("page" + std::to_string(i) + ".pdf");
        CPdfMaker::Write(path, {"Benchmark page " + std::to_string(i) +
                                "\nThe quick brown fox jumps over the lazy dog."});
        pdfs.push_back(path);
    }

    double bestPlain = 1e9;
    double bestConverter = 1e9;
    for (int round = 0; round < rounds; ++round)
    {
        double plain = PlainLoop(pdfs);
        double converter = ThroughConverter(pdfs);
        std::printf("round %d: plain loop %.3f s, converter %.3f s\n", round + 1, plain, converter);
        bestPlain = std::min(bestPlain, plain);
        bestConverter = std::min(bestConverter, converter);
    }
    std::printf("%d files, best of %d rounds: plain loop %.3f s, converter %.3f s, ratio %.3f "
                "(%.3f ms per file added)\n",
                count, rounds, bestPlain, bestConverter, bestConverter / bestPlain,
                (bestConverter - bestPlain) * 1000.0 / count);
    std::printf("own CPU time per file (tool runs not counted): plain loop %.3f ms, converter "
                "%.3f ms\n",
                g_plainCpu * 1000.0 / (count * rounds), g_converterCpu * 1000.0 / (count * rounds));
    return 0;
}
