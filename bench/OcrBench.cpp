// SPDX-License-Identifier: GPL-3.0-or-later
// Adds a folder of PDFs through the document with OCR on, as many
// conversions at once as asked, and prints the time it took, the pages read
// with OCR and the seconds per page. Text files already there are
// overwritten without asking.
//
//   zelto_bench_ocr folder [conversions at once] [languages]

#include "ScriptedPrompts.h"
#include "doc/AddReport.h"
#include "doc/ZeltoDoc.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"
#include "platform/MemorySettings.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: %s folder [conversions at once] [languages]\n", argv[0]);
        return 2;
    }
    int parallel = argc > 2 ? std::atoi(argv[2]) : 1;
    CScriptedPrompts prompts;
    CConverterTable table(std::make_shared<CConverterContext>());
    CMemorySettings settings;
    settings.SetInt("", CAddOptions::kConversionsAtOnce, parallel);
    settings.SetInt("", CAddOptions::kReadScannedPages, 1);
    if (argc > 3)
        settings.SetString("", CAddOptions::kOcrLanguages, argv[3]);
    CZeltoDoc doc(table, prompts, prompts, settings);
    prompts.AnswerFolderNext(FolderAnswerYesToAll);
    for (int i = 0; i < 100000; ++i)
        prompts.AnswerNext(EAnswer::Yes);

    auto start = std::chrono::steady_clock::now();
    doc.OnDropFiles({argv[1]});
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // The pages each file had read come in its message.
    int pages = 0;
    std::regex readPages("recognized on ([0-9]+) of");
    for (const CRecordedMessage& message : prompts.Messages())
    {
        std::smatch match;
        if (std::regex_search(message.strText, match, readPages))
            pages += std::stoi(match[1]);
    }
    std::printf("conversions at once %d: %d files listed, %d pages read with OCR in %.1f s, "
                "%.2f s per page\n",
                parallel, doc.RowCount(), pages, seconds, pages ? seconds / pages : 0.0);
    std::printf("report: %s\n", doc.LastAddReport()->Summary().c_str());
}
