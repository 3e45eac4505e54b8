// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConversionRun.h"

#include <atomic>
#include <string>
#include <string_view>

class CConverterContext;
class CReplacementFile;
struct CRunRequest;

// The page OCR is reading and how many it reads, for the progress shown
// while a run goes on: written by the run, read on any thread.
struct COcrProgress
{
    std::atomic<int> nPage{0};
    // 0 when OCR reads no pages.
    std::atomic<int> nPages{0};
};

// One run of pdftotext, or of an extraction worker that does its work, for
// one PDF: the tool's arguments in the operation's text form, the engine,
// the text streamed into a replacement of the text file and checked for
// garbage page by page, and OCR of the blank and garbled pages when it is
// on. Only a run that succeeded puts the new text in the text file's place. Any thread; what the
// run left is judged later.
class CPdfTextRun
{
public:
    CPdfTextRun(const CConverterContext& context, std::string_view sourcePath,
                std::string_view textPath, COcrProgress& progress);

    CConversionRun Run(const CRunRequest& request) const;

    // The path given to the tools for `path`: absolute, as they run in the
    // program's folder, and never read as an option.
    static std::string ToolArgument(std::string_view path);

private:
    // Runs the tool into `text`, and OCR when it is on.
    void WriteText(CConversionRun& run, const CRunRequest& request, CReplacementFile& text) const;
    // The tool's run in the operation's text form, its output not yet
    // taken; `keepPageBreaks` asks for form feeds whatever the form.
    CChildRequest ToolRequest(const CRunRequest& request, bool keepPageBreaks) const;
    // Writes `bytes` to `text` without their form feeds; the system's error
    // number, or 0.
    static int WriteWithoutPageBreaks(CReplacementFile& text, std::string_view bytes);
    // With OCR on, reads the pages that came out without text, and those
    // whose text failed the check for garbage.
    void ReadScannedPages(CConversionRun& run, const CRunRequest& request, std::string& text) const;

    const CConverterContext& m_context;
    const std::string_view m_strSourcePath;
    const std::string_view m_strTextPath;
    COcrProgress& m_progress;
};
