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
    // For a locked PDF: the passwords to try after the empty one, each as a
    // user's and then as an owner's password. They come over the worker's
    // socket, never with the arguments.
    std::vector<std::string> passwords;

    // The job, when the arguments (program name first) ask for the text of
    // a named PDF file on standard output, in forms a worker writes; nothing
    // otherwise, and the tool itself is to run.
    static std::optional<CWorkerJob> FromToolArguments(const std::vector<std::string>& arguments);
};
