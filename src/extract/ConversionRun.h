#pragma once

#include "OcrRun.h"
#include "platform/ChildProcess.h"
#include "platform/FileProbe.h"

#include <optional>

// What one run of a converter's tool left behind, to be judged afterwards on
// the thread that talks to the user.
struct CConversionRun
{
    CChildResult result;
    // The text file's stamp from before the run, to tell whether a
    // cancelled run wrote to it.
    std::optional<CFileStamp> textBefore;
    // The pages read with OCR after the tool, when OCR is on.
    COcrRun ocr;
    // OCR was wanted but its programs were not found.
    bool bOcrMissing = false;
    // From the start of the tool to the end of OCR.
    double dSeconds = 0.0;
};
