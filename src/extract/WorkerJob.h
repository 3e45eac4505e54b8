// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

// One conversion an extraction worker does in pdftotext's place, read from
// the very arguments pdftotext would be given, so that both engines are
// asked the same thing in the same words.
struct CWorkerJob
{
    enum class EEndOfLine
    {
        Unix,
        Dos,
        Mac
    };

    bool bPhysicalLayout = false; // -layout
    bool bRawOrder = false;       // -raw
    bool bPageBreaks = true;      // -nopgbrk turns them off
    EEndOfLine eEndOfLine = EEndOfLine::Unix;
    // The text's encoding (-enc); empty for the tool's default.
    std::string strEncoding;
    std::string strPdfPath;

    // The job, when the arguments (program name first) ask for the text of
    // a named PDF file on standard output, in forms a worker writes; nothing
    // otherwise, and the tool itself is to run.
    static std::optional<CWorkerJob> FromToolArguments(const std::vector<std::string>& arguments);
};
