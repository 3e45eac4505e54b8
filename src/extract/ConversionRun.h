// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OcrRun.h"
#include "PdfLock.h"
#include "platform/ChildProcess.h"

#include <string>
#include <vector>

// What one run of a converter's tool left behind, to be judged afterwards on
// the thread that talks to the user.
struct CConversionRun
{
    CChildResult result;
    // An extraction worker, not the tool, made the text.
    bool bByWorker = false;
    // What the worker found of a password lock; Open when the tool ran,
    // which is never given a password.
    EPdfLock eLock = EPdfLock::Open;
    // The pages (from 1, rising) whose text a worker drew, in part (a fifth
    // of the glyphs or more), in fonts with no map to Unicode; empty when
    // the tool ran.
    std::vector<int> unmappedFontPages;
    // The pages (from 1, rising) whose text failed the check for garbage
    // and is in the text as the tool made it: those OCR read again are not.
    std::vector<int> garbledPages;
    // The new text took the text file's place; until then the file was
    // left as it was.
    bool bTextWritten = false;
    // The system's error number when the text could not be written to the
    // text file's folder; 0 otherwise.
    int nTextError = 0;
    // The time each tool run had; 0 for no limit.
    int nTimeLimitSeconds = 0;
    // The first bytes of the new text, enough to tell a blank one.
    std::string strTextStart;
    // The pages read with OCR after the tool, when OCR is on.
    COcrRun ocr;
    // OCR was wanted but its programs were not found.
    bool bOcrMissing = false;
    // From the start of the tool to the end of OCR.
    double dSeconds = 0.0;

    // The exit status is the tool's own word on success; what it reports
    // beside it are often warnings it survived, whatever their wording.
    bool ToolSucceeded() const
    {
        return !result.bCancelled && !result.bTimedOut &&
               result.eFailure == CChildResult::EFailure::None && result.nExitStatus == 0 &&
               nTextError == 0;
    }
    // Whether, besides, the text took the text file's place.
    bool Succeeded() const { return ToolSucceeded() && bTextWritten; }
    // Whether the PDF is locked and another password could still open it:
    // only a worker is ever given one.
    bool PasswordMayOpen() const
    {
        return bByWorker && !result.bCancelled && !result.bTimedOut &&
               (eLock == EPdfLock::NeedsPassword || eLock == EPdfLock::WrongPassword);
    }
};
