// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The programs this program starts, named as this system names them, and
// where they are found: along PATH, and for the extraction worker beside
// the program or in the folder an installation puts it in.
class CExecutables
{
public:
#ifdef _WIN32
    static constexpr const char* kPdftotext = "pdftotext.exe";
    static constexpr const char* kPdftoppm = "pdftoppm.exe";
    static constexpr const char* kTesseract = "tesseract.exe";
    static constexpr const char* kWorker = "zelto-extract-worker.exe";
    static constexpr char kPathListSeparator = ';';
#else
    static constexpr const char* kPdftotext = "pdftotext";
    static constexpr const char* kPdftoppm = "pdftoppm";
    static constexpr const char* kTesseract = "tesseract";
    static constexpr const char* kWorker = "zelto-extract-worker";
    static constexpr char kPathListSeparator = ':';
#endif

    // Finds a program the way a child is started: a name with a folder part
    // is used as it stands, any other is looked up along PATH. On Linux a
    // file that may not be run is passed over; on Windows the name gets
    // ".exe" when it has no extension, and only PATH is searched, not the
    // program's own or the system's folders, so that the tool the person
    // put on PATH is the one that runs. Returns 0, with `found` set, or the
    // system's error number (on Linux ENOENT, or EACCES when only files
    // that may not be run were found).
    static int Find(const std::string& name, std::string& found);

    // Whether a file of this name lies in a folder of PATH (an empty entry
    // meaning the current folder). Unlike Find it does not ask whether the
    // file may be run, and an unset PATH finds nothing.
    static bool IsOnPath(const std::string& name);

    // The worker installed with the program whose folder is given: beside
    // it in a build, in ../libexec/zelto-extractor/ once installed. Empty
    // when there is none.
    static std::string FindWorker(const std::string& programFolder);
};
