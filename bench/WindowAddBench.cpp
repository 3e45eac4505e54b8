// SPDX-License-Identifier: GPL-3.0-or-later
// Times one add of a folder of small PDFs, either through the document alone
// with scripted prompts or through the main window as a person would start
// it (Add Folder..., the window shown, its list and status bar following the
// files as they come), and prints the time, the files listed and the
// process's resident memory after the add. A stand-in pdftotext that writes
// one line and ends is put first on PATH, so that what is timed is the
// program's own work per file. Run each way in a process of its own; see
// scripts/bench-window.sh, which runs both and prints their ratio.
//
//   zelto_bench_window doc|window <folder> [files]     (default: 100000)
//
// The folder is filled with `files` PDFs the first time; text files left
// by an earlier run are removed before the add.

#include "PdfMaker.h"
#include "ScriptedPrompts.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"
#include "ui/CommandIds.h"
#include "ui/MainFrame.h"
#include "ui/QtPrompts.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

namespace
{
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char* const kStandIn = "#!/bin/sh\nprintf 'Text\\n' > \"$3\"\n";

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Fills the folder up to `files` PDFs and removes every text file in it.
void PrepareFolder(const fs::path& folder, int files)
{
    fs::create_directories(folder / "pdf");
    std::string pdf = CPdfMaker::Build({"A page of text"});
    for (int i = 0; i < files; ++i)
    {
        fs::path path = folder / "pdf" / ("Document " + std::to_string(i) + ".pdf");
        if (!fs::exists(path))
            WriteFile(path, pdf);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "pdf"))
    {
        if (entry.path().extension() == ".txt")
            fs::remove(entry.path());
    }
}

void PutStandInFirstOnPath(const fs::path& folder)
{
    fs::create_directories(folder / "bin");
    fs::path tool = folder / "bin" / "pdftotext";
    WriteFile(tool, kStandIn);
    ::chmod(tool.c_str(), 0755);
    const char* path = std::getenv("PATH");
    ::setenv("PATH", (tool.parent_path().string() + ":" + (path ? path : "")).c_str(), 1);
}

double ResidentMiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
    {
        if (line.rfind(field, 0) == 0)
            return std::atof(line.c_str() + std::string(field).size()) / 1024;
    }
    return 0;
}

// CPU time of the calling thread: the user's thread does all of the
// program's work per file but the tool runs, and this is less swayed by
// other load on the machine than the time on the clock.
double ThreadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void PrintResult(const char* way, int listed, double seconds, double cpuSeconds)
{
    std::printf("%-7s %8d files listed %9.2f s (user's thread %.2f s CPU) %8.1f MiB resident "
                "(peak %.1f MiB, heap in use %.1f MiB)\n",
                way, listed, seconds, cpuSeconds, ResidentMiB("VmRSS:"), ResidentMiB("VmHWM:"),
                static_cast<double>(mallinfo2().uordblks) / (1 << 20));
    std::fflush(stdout);
}

int ThroughDocument(const std::string& folder)
{
    CScriptedPrompts prompts;
    prompts.AnswerFolderNext(FolderAnswerYes);
    CMemorySettings settings;
    CConverterTable table(std::make_shared<CConverterContext>());
    CZeltoDoc doc(table, prompts, prompts, settings);
    double cpuStart = ThreadCpuSeconds();
    auto start = Clock::now();
    doc.OnFileAddFolder(folder);
    PrintResult("doc", doc.RowCount(), std::chrono::duration<double>(Clock::now() - start).count(),
                ThreadCpuSeconds() - cpuStart);
    return prompts.Messages().empty() ? 0 : 1;
}

// The window's own prompts, with the folder dialog and the folder question
// answered as a person would.
class CAnsweringPrompts : public CQtPrompts
{
public:
    explicit CAnsweringPrompts(std::string folder) : m_strFolder(std::move(folder)) {}
    int AskFolderQuestion(const std::string&) override { return FolderAnswerYes; }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override
    {
        return m_strFolder;
    }

private:
    std::string m_strFolder;
};

int ThroughWindow(int argc, char** argv, const std::string& folder)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    CAnsweringPrompts prompts(folder);
    CMemorySettings settings;
    CConverterTable table(std::make_shared<CConverterContext>());
    CZeltoDoc doc(table, prompts, prompts, settings);
    CMainFrame frame(doc, prompts, prompts, settings);
    prompts.SetParentWindow(&frame);
    frame.resize(CMainFrame::kFirstSize);
    frame.show();

    // How often the person sees the count move while the files come in.
    int countChanges = 0;
    qint64 longestGap = 0;
    QElapsedTimer sinceChange;
    QString lastCount = frame.FileCountText();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&]
                     {
                         if (frame.FileCountText() == lastCount)
                             return;
                         lastCount = frame.FileCountText();
                         ++countChanges;
                         if (sinceChange.isValid())
                             longestGap = std::max(longestGap, sinceChange.elapsed());
                         sinceChange.start();
                     });
    watch.start(10);

    int status = 0;
    QTimer::singleShot(
        0,
        [&]
        {
            double cpuStart = ThreadCpuSeconds();
            auto start = Clock::now();
            frame.Action(ID_FILE_ADD_FOLDER)->trigger();
            double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            PrintResult("window", doc.RowCount(), seconds, ThreadCpuSeconds() - cpuStart);
            std::printf("        the count pane changed %d times seen, "
                        "longest between changes %lld ms\n",
                        countChanges, static_cast<long long>(longestGap));
            status = doc.RowCount() > 0 ? 0 : 1;
            QApplication::quit();
        });
    QApplication::exec();
    return status;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || (std::string(argv[1]) != "doc" && std::string(argv[1]) != "window"))
    {
        std::fprintf(stderr, "usage: zelto_bench_window doc|window <folder> [files]\n");
        return 2;
    }
    std::string way = argv[1];
    fs::path folder = fs::absolute(argv[2]);
    int files = std::max(1, argc > 3 ? std::atoi(argv[3]) : 100000);
    PrepareFolder(folder, files);
    PutStandInFirstOnPath(folder);
    std::string pdfFolder = (folder / "pdf").string();
    return way == "doc" ? ThroughDocument(pdfFolder) : ThroughWindow(argc, argv, pdfFolder);
}
