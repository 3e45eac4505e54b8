// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <string>

// New contents for a file, written beside it and put in its place whole
// with one rename: the file holds either all of its old contents or all of
// the new ones, and what was written goes when it is never committed,
// whether the writing failed, was cancelled, or the program was killed.
//
// On Linux the contents go to an unnamed file in the same folder
// (O_TMPFILE), given a name only when committed; where the file system has
// none, to a hidden temporary named after the file, locked while it is
// written so that a leftover of a killed program can be told from one
// still being written. On Windows to a hidden temporary that no other may
// delete while it is open, put in place with ReplaceFileW or MoveFileExW.
// A replaced file keeps its permission bits (its attributes and security
// on Windows). On Linux a link to a file gets the file it links to
// replaced; on Windows the link itself is replaced. Paths are UTF-8. One
// object per thread at a time; any thread.
class CReplacementFile
{
public:
    explicit CReplacementFile(std::string path);
    ~CReplacementFile();
    CReplacementFile(const CReplacementFile&) = delete;
    CReplacementFile& operator=(const CReplacementFile&) = delete;

    // Makes the place for the new contents in the file's folder. Returns 0
    // or the system's error number.
    int Open();
    // Adds to the new contents. Returns 0 or the system's error number.
    int Write(const char* bytes, std::size_t count);
    // Puts the new contents in the file's place. Returns 0, or the system's
    // error number with the file as it was before.
    int Commit();

    // The folder the file lies in, as the person would name it.
    std::string Folder() const;

    // Makes a folder and those above it that are missing. Returns 0 or the
    // system's error number.
    static int MakeFolders(const std::string& folder);

    // Removes the temporaries that programs killed while writing left in
    // `folder`; those still being written stay.
    static void RemoveLeftovers(const std::string& folder);
    // Whether a name in a folder is one of those temporaries.
    static bool IsTemporaryName(const std::string& name);

private:
    struct CSystemState;

    // A fresh hidden name for a temporary of the file named `fileName`.
    static std::string TemporaryName(const std::string& fileName);

    std::string m_strPath;
    std::unique_ptr<CSystemState> m_pState;
};
