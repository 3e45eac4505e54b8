// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandStreams.h"
#include "ExtractOptions.h"
#include "doc/AddOptions.h"
#include "platform/FileCloser.h"
#include "platform/MessageIds.h"

#include <string>
#include <vector>

// The command `zelto-extract`: converts the PDF files of the paths it is
// given (and of a list it reads) with the rules of the window's add
// operation, asking nothing unless told to, and writes what became of each
// file to its report and, in short, to the error stream.
//
// Exit status: 0 when every PDF was converted or left by the rule for
// existing text (with warnings or without text included), 1 when one failed
// or ran out of time (or the report or the list could not be written or
// read to its end), 2 for arguments that cannot be used, and 128 plus the
// signal's number after a request to stop: the running tools are ended,
// what they wrote is dropped, and every file finished before stays, with
// its report row.
class CExtractCommand
{
public:
    static constexpr int kExitDone = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitUsage = 2;

    explicit CExtractCommand(CCommandStreams streams);

    // `arguments` without the program's name.
    int Run(const std::vector<std::string>& arguments);

    // The settings of the run: the settings file's, when one is given, with
    // the options over them. False, with the reason told, when the file
    // cannot be read.
    bool MakeSettings(const CExtractOptions& options, CAddSettings& settings);

private:
    int UsageError(const std::string& error);
    // The part of --shard auto; why there is none, or empty.
    std::string ResolveShard(CExtractOptions& options) const;
    // What is wrong with the folders of --watch, or empty.
    std::string CheckWatch(CExtractOptions& options) const;
    void ApplyOptions(const CExtractOptions& options, CAddSettings& settings);
    bool OpenList(const CExtractOptions& options);
    // Reads the passwords of --password-file into the settings, warning of
    // a file others may read; false, with the reason told, when it cannot
    // be read.
    bool ReadPasswords(const CExtractOptions& options, CAddSettings& settings);
    void TellError(EMessageId id, const std::string& path, int error);

    CCommandStreams m_streams;
    // The list file of --from; none for the standard input.
    CFilePointer m_pList;
};
