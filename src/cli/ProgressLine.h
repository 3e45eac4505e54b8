// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The one line of progress a command shows on a terminal: files done of
// files found, files per second, the time left, and the file in progress,
// cut to the terminal's width.
class CProgressLine
{
public:
    struct CState
    {
        int nDone = 0;
        int nFound = 0;
        // Whether every file has been found, so that a time left can be told.
        bool bAllFound = false;
        double dSeconds = 0.0;
        std::string strCurrent;
    };

    static std::string Format(const CState& state, int columns);

    // The columns the text takes on a terminal: one per character, two for
    // the wide characters of East Asian scripts.
    static int Width(std::string_view text);
    // The end of the text that fits in `columns`, marked as cut where it is.
    static std::string FitEnd(std::string_view text, int columns);
    // "1:05", or "1:02:05" from an hour on.
    static std::string Duration(double seconds);
};
