// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OcrOptions.h"
#include "TextForm.h"

#include <functional>
#include <string>
#include <vector>

class CCancelFlag;

// The choices of one add operation that its conversions follow, read once
// when the operation starts and never changed while its files convert.
struct CConversionOptions
{
    static constexpr int kDefaultTimeLimitSeconds = 600;

    // What turns PDF files into text: the program's extraction workers
    // where they are installed (pdftotext's text, only faster), or a run of
    // pdftotext for every file.
    enum class EEngine
    {
        Workers = 0,
        Pdftotext = 1
    };

    COcrOptions ocr;
    CTextForm form;
    // Seconds each tool run may take (pdftotext, and each of OCR's runs for
    // a page); 0 for no limit.
    int nTimeLimitSeconds = kDefaultTimeLimitSeconds;
    EEngine eEngine = EEngine::Workers;
    // Whether each page's text is checked for garbage: what a font with no
    // map to Unicode leaves (CTextHealth).
    bool bGarbledCheck = true;
    // The passwords the operation is given for locked PDF files, tried in
    // this order after the empty one; held in memory for the operation
    // alone, never stored with the settings.
    std::vector<std::string> passwords;
};

// What one tool run is handed: the operation's choices, its cancel, whom to
// tell (from the worker's thread) that the run's activity changed, and the
// passwords to try, in order after the empty one, should the PDF be locked.
struct CRunRequest
{
    const CConversionOptions& options;
    const CCancelFlag& cancel;
    std::function<void()> onActivityChanged;
    std::vector<std::string> passwords = {};
};
