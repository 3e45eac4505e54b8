#pragma once

#include "TempDir.h"

#include <string>
#include <vector>

// Puts a fake pdftotext first on PATH for as long as the object lives. For a
// source X.pdf it reads what to do from files beside it:
//   X.pdf.started  made when the run starts
//   X.pdf.partial  written to the text file before anything else
//   X.pdf.await    a path to wait for (up to 10 s); reports "Error: ran
//                  alone" when it never appears
//   X.pdf.sleep    seconds to wait next
//   X.pdf.stderr   bytes to write on the error stream
//   X.pdf.text     the text file's contents (no text file without it)
//   X.pdf.exit     the exit status (0 without it)
// Every call is logged, one line of arguments each.
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

    std::vector<std::string> Calls() const;
    const std::string& BinFolder() const { return m_bin.Path(); }

private:
    CTempDir m_bin;
    std::string m_strOldPath;
};

// Replaces PATH for as long as the object lives.
class CScopedPath
{
public:
    explicit CScopedPath(const std::string& path);
    ~CScopedPath();
    CScopedPath(const CScopedPath&) = delete;
    CScopedPath& operator=(const CScopedPath&) = delete;

private:
    std::string m_strOldPath;
};
