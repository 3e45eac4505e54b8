// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ChildProcess.h"

#include <string>
#include <vector>

// Locked PDF files as programs make them, locked by qpdf, and their text as
// pdftotext gives it with a password on its command line (only tests may
// put one there). Both programs come with scripts/install-deps.sh on Linux;
// a Windows build has neither, nor the workers that open locked files.
class CLockedPdfs
{
public:
    // A PDF of a few pages, one of them in two columns.
    static std::string Source();
    // Writes `source` locked by qpdf to `locked`: `encryption` is what
    // follows --encrypt (user password, owner password, key length and its
    // options). False when qpdf is missing or refuses.
    static bool Lock(const std::string& source, const std::string& locked,
                     const std::vector<std::string>& encryption);
    // pdftotext -layout with `options` (such as -upw and a password) on
    // `pdf`: its report and status, and its text in `text`.
    static CChildResult Pdftotext(const std::string& pdf, const std::vector<std::string>& options,
                                  std::string& text);
};
