// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// Hands files and folders to the desktop, which picks the program that opens
// them. Replaceable so that tests can see what would be opened.
class CDesktopOpener
{
public:
    // Told, on the user's thread, the error number of an opening that
    // started but failed later.
    using FFailed = std::function<void(int error)>;

    virtual ~CDesktopOpener() = default;

    // Starts opening a file with its associated program and returns at once:
    // the program may run for as long as the file stays open. Returns 0
    // when the opening has started, or an error number: 2 when the file does
    // not exist, 31 when nothing can open files. When the opener ends with
    // a failure of its own, its code is handed to `onFailed` later.
    virtual int OpenFile(const std::string& path, FFailed onFailed);

    // Starts the desktop's file manager without waiting for it. Returns
    // whether it could be started.
    virtual bool StartFileManager();
};
