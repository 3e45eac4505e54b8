// SPDX-License-Identifier: GPL-3.0-or-later
// Counts what a person has to answer or close when a folder is added twice
// through the document: the first add writes the text files, the second
// meets every one of them again. Each add is counted with one box per
// problem (the default) and with the problems kept for one report at the
// end, the overwrite question answered No with "Do the same for the rest of
// this add" ticked. Prints the folder's shape and every count.
//
//   zelto_bench_interactions folder
//
// The folder is left as it was: the text files the adds write are removed.

#include "ScriptedPrompts.h"
#include "doc/AddReport.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace
{
namespace fs = std::filesystem;

struct CCount
{
    int nInteractions = 0;
    int nBoxes = 0;
    bool bReportShown = false;
    std::shared_ptr<const CAddReport> pReport;
};

CCount AddFolder(const std::string& folder, bool problemsAtEnd)
{
    CScriptedPrompts prompts;
    CConverterTable table(std::make_shared<CConverterContext>());
    CMemorySettings settings;
    settings.SetInt("", CAddOptions::kProblemsAtEnd, problemsAtEnd ? 1 : 0);
    CZeltoDoc doc(table, prompts, prompts, settings);
    CCount count;
    doc.SetReportHandler([&](const CAddReport& report)
                         { count.bReportShown = report.HasUnseenRows(); });
    prompts.AnswerFolderNext(FolderAnswerYesToAll);
    for (int i = 0; i < 100000; ++i)
    {
        prompts.AnswerNext(EAnswer::No);
        prompts.TickNext(problemsAtEnd);
    }
    doc.OnDropFiles({folder});
    count.nBoxes = static_cast<int>(prompts.Messages().size());
    count.nInteractions = static_cast<int>(prompts.FolderQuestions().size()) + count.nBoxes +
                          (count.bReportShown ? 1 : 0);
    count.pReport = doc.LastAddReport();
    return count;
}

void Print(const char* name, const CCount& count)
{
    const CAddReport& report = *count.pReport;
    std::printf("%-28s %6d interactions (%d boxes%s); %s\n", name, count.nInteractions,
                count.nBoxes, count.bReportShown ? ", 1 report" : "", report.Summary().c_str());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    std::string folder = fs::absolute(argv[1]).lexically_normal().string();
    std::set<fs::path> before;
    int pdfs = 0;
    int subfolders = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
    {
        before.insert(entry.path());
        pdfs += entry.path().extension() == ".pdf";
        subfolders += entry.is_directory();
    }
    std::printf("folder %s: %d PDFs, %zu entries, %d subfolders\n", folder.c_str(), pdfs,
                before.size(), subfolders);
    for (bool atEnd : {false, true})
    {
        Print(atEnd ? "first add, report at end" : "first add, box each", AddFolder(folder, atEnd));
        Print(atEnd ? "second add, report at end" : "second add, box each",
              AddFolder(folder, atEnd));
        for (const auto& entry : fs::recursive_directory_iterator(folder))
        {
            if (!before.count(entry.path()))
                fs::remove(entry.path());
        }
    }
}
