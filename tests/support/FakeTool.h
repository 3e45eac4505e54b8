// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TempDir.h"

#include <string>
#include <vector>

// Puts a fake pdftotext (tests/fixtures/FakePdftotext.cpp, built for the
// system the tests run on) first on PATH for as long as the object lives.
// For a source X.pdf (its last argument but one) it reads what to do from files
// beside it:
//   X.pdf.child    a path: a copy of the tool is started first that leaves
//                  a file there after a second unless it is ended
//   X.pdf.started  made when the run starts
//   X.pdf.partial  written like the text, before anything else
//   X.pdf.await    a path to wait for (up to 30 s); reports "Error: ran
//                  alone" when it never appears
//   X.pdf.sleep    seconds to wait next
//   X.pdf.where    writes its working folder and a line end on the error
//                  stream
//   X.pdf.variables  names of variables, one a line: writes "NAME=value",
//                  or "NAME unset", and a line end for each on the error
//                  stream
//   X.pdf.stderr   bytes to write on the error stream
//   X.pdf.text     the text (no text without it), written to the text file
//                  or, when that is "-", the standard output
//   X.pdf.finish   a path: made when all the above is done
//   X.pdf.signal   a signal to end itself with, after all the above
//   X.pdf.status   the exit status (0 without it)
// Every call is logged, one line of arguments each; the arguments of the
// latest call are also kept exactly.
class CFakeTool
{
public:
    CFakeTool();
    ~CFakeTool();
    CFakeTool(const CFakeTool&) = delete;
    CFakeTool& operator=(const CFakeTool&) = delete;

    // Describes how the fake tool treats `source`.
    static void Script(const std::string& source, const std::string& errorOutput,
                       const std::string* text);
    static void Script(const std::string& source, const std::string& errorOutput,
                       const std::string& text)
    {
        Script(source, errorOutput, &text);
    }

    // How the fake tool ends for `source`: with this exit status, or, when
    // `signal` is not 0, ended by that signal.
    static void EndWith(const std::string& source, int exitStatus, int signal = 0);

    // Puts a copy of the fake tool into a folder, named as the real one.
    static void InstallIn(const CTempDir& bin);

    std::vector<std::string> Calls() const;
    // The arguments of the latest call after the program's name, exactly.
    std::vector<std::string> LastArguments() const;
    const std::string& BinFolder() const { return m_bin.Path(); }

private:
    CTempDir m_bin;
    std::string m_strOldPath;
};

// Replaces PATH for as long as the object lives. Folders in a search path
// are separated by ';' on Windows and ':' elsewhere.
class CScopedPath
{
public:
    explicit CScopedPath(const std::string& path);
    ~CScopedPath();
    CScopedPath(const CScopedPath&) = delete;
    CScopedPath& operator=(const CScopedPath&) = delete;

    static constexpr char kListSeparator =
#ifdef _WIN32
        ';';
#else
        ':';
#endif
    static std::string Current();

private:
    std::string m_strOldPath;
};

// Sets a variable of the environment for as long as the object lives; an
// empty value removes it.
class CScopedVariable
{
public:
    CScopedVariable(const char* name, const std::string& value);
    ~CScopedVariable();
    CScopedVariable(const CScopedVariable&) = delete;
    CScopedVariable& operator=(const CScopedVariable&) = delete;

private:
    static void Set(const std::string& name, const std::string& value);

    std::string m_strName;
    std::string m_strOld;
};
