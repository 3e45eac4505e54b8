// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileCloser.h"

#include <cstdio>
#include <memory>
#include <string>

class CPrompts;
class CSettings;

// The tips file of the Tip of the Day and the place in it where reading
// goes on, kept across runs in the settings section "Tip":
//   "StartUp"   0 shows the tips at start-up, anything else does not;
//   "FilePos"   where the next tip is read from, stored when this object goes;
//   "TimeStamp" the time text of the file the position belongs to. A file
//               that was replaced has a new one, and the tips start again.
//
// One tip is one line of the file, its line end included. Lines that start
// with a space, a tab or ';', and empty lines, are not tips. A line longer
// than kMaxPiece characters comes out in pieces of kMaxPiece characters,
// each piece judged like a line of its own. After the last line reading
// starts again at the top.
class CTipsFile
{
public:
    static constexpr const char* kSection = "Tip";
    static constexpr const char* kStartUpValue = "StartUp";
    static constexpr const char* kFilePosValue = "FilePos";
    static constexpr const char* kTimeStampValue = "TimeStamp";
    static constexpr int kMaxPiece = 999;

    // Opens the file, goes to the stored position (the top when the file is
    // new or was replaced) and reads the first tip. A position that cannot
    // be reached is reported with the message TipsFileUnreadable.
    CTipsFile(const std::string& path, CSettings& settings, CPrompts& prompts);
    // Stores where the next tip begins, when the file is open.
    ~CTipsFile();
    CTipsFile(const CTipsFile&) = delete;
    CTipsFile& operator=(const CTipsFile&) = delete;

    bool IsOpen() const { return m_pFile != nullptr; }

    // What to show first: the first tip; the text TipsFileMissing when the
    // file could not be opened; nothing when the stored position could not
    // be reached.
    const std::string& FirstText() const { return m_strFirstText; }

    // The next tip, wrapping round at the end. A file without a single tip
    // ends the search after one pass over the whole file and gives the text
    // TipsFileUnreadable.
    std::string ReadNextTip();

    // Where the next tip will be read from, or -1.
    long Position() const;

    // The time text that tells a replaced file from the one the stored
    // position belongs to: the file's birth time where the file system
    // keeps one, its status change time otherwise, as ctime() writes it
    // without the line end. Empty when the time cannot be read.
    static std::string FileTimeText(int fd);

    static bool ShowAtStartup(const CSettings& settings);
    static void StoreShowAtStartup(CSettings& settings, bool show);

private:
    void Open(const std::string& path);
    long StartPosition();
    bool SeekTo(long position);
    bool Rewind();
    std::string NoTipText() const;

    CSettings& m_settings;
    CPrompts& m_prompts;
    CFilePointer m_pFile;
    std::string m_strFirstText;
};
