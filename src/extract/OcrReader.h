// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OcrOptions.h"
#include "OcrRun.h"
#include "platform/CancelFlag.h"
#include "platform/Executables.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Reads the pages of a PDF that came out without text, or with garbled
// text, with OCR: each such
// page is rendered at 300 dpi by pdftoppm into a scratch folder and
// recognized by tesseract, both started like pdftotext (an argument vector,
// their error output read, cancel ending them), and what tesseract finds
// takes the page's place in the text. The scratch folder goes with the
// reading. Any thread.
class COcrReader
{
public:
    static constexpr int kDotsPerInch = 300;
    static constexpr const char* kRenderTool = CExecutables::kPdftoppm;
    static constexpr const char* kRecognizeTool = CExecutables::kTesseract;

    // `onPage` is told the number of each page before it is read (counted
    // among the pages it reads, from 1) and how many there are.
    COcrReader(const COcrOptions& options, std::string workingFolder, const CCancelFlag& cancel,
               std::function<void(int, int)> onPage);

    // Seconds each of the tools' runs may take; 0 (the default) for no
    // limit.
    void LimitTime(int seconds) { m_nTimeLimitSeconds = seconds; }

    // Reads every page of `text` (as pdftotext writes it: each page ended by
    // a form feed) that holds nothing but white space, and each page of
    // `garbledPages` (from 1, rising) whose text failed the check for
    // garbage, and writes what it recognizes into `text` in that page's
    // place. A garbled page on which OCR finds nothing keeps its text.
    COcrRun ReadPages(const std::string& pdfPath, std::string& text,
                      const std::vector<int>& garbledPages = {}) const;

    static bool IsBlank(std::string_view page);
    // A text file's whole contents; false when it cannot be read. Paths are
    // UTF-8 on every system.
    static bool ReadWhole(const std::string& path, std::string& bytes);
    // Whether both programs are found along PATH.
    static bool ToolsAvailable();

private:
    bool ReadPage(const std::string& pdfPath, int page, const std::string& scratch,
                  std::string& pageText, COcrRun& run) const;
    bool RunTool(const char* tool, const std::vector<std::string>& arguments, COcrRun& run,
                 CChildEnvironment environment = {}) const;

    const COcrOptions& m_options;
    std::string m_strWorkingFolder;
    const CCancelFlag& m_cancel;
    std::function<void(int, int)> m_onPage;
    int m_nTimeLimitSeconds = 0;
};
