// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Whether and how an add operation reads pages without text with OCR.
struct COcrOptions
{
    // The person turned it on.
    bool bWanted = false;
    // The programs it needs were found when the operation began.
    bool bAvailable = false;
    // Tesseract's languages, such as "eng+deu".
    std::string strLanguages = "eng";

    bool IsOn() const { return bWanted && bAvailable; }
};
