// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ChildProcess.h"

#include <string>
#include <vector>

// What reading the pages without text, or with garbled text, of one PDF
// came to.
struct COcrRun
{
    // Pages of the extracted text, and those that held no text.
    int nPages = 0;
    int nBlankPages = 0;
    // Of those, the pages on which OCR found text.
    int nPagesRead = 0;
    // The pages (from 1, rising) whose garbled text OCR's took the place of.
    std::vector<int> mendedPages;
    // A tool run that failed, and the tool's name; reading stopped there.
    bool bFailed = false;
    std::string strFailedTool;
    CChildResult failure;
    bool bCancelled = false;
    // A tool run was ended when its time was up.
    bool bTimedOut = false;
};
