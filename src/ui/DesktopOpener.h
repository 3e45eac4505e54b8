#pragma once

#include <string>

// Hands files and folders to the desktop, which picks the program that opens
// them. Replaceable so that tests can see what would be opened.
class CDesktopOpener
{
public:
    virtual ~CDesktopOpener() = default;

    // Opens a file with its associated program. Returns 0, or an error
    // number: 2 when the file does not exist, otherwise the opener's own
    // failure code.
    virtual int OpenFile(const std::string& path);

    // Starts the desktop's file manager without waiting for it. Returns
    // whether it could be started.
    virtual bool StartFileManager();
};
