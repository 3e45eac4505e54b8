// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Shard.h"
#include "extract/ConversionOptions.h"
#include "extract/OverwriteQuestion.h"
#include "extract/TextForm.h"

#include <optional>
#include <string>
#include <vector>

// What the command was asked to do, as its arguments say it. Anything not
// given is left to the settings file (with --settings) or to the defaults.
struct CExtractOptions
{
    std::vector<std::string> paths;
    // A file of paths to read, "-" for the standard input.
    std::optional<std::string> fromFile;
    // The paths in it end with NUL rather than a line end.
    bool bNulSeparated = false;

    std::optional<int> jobs;
    std::optional<int> timeLimitSeconds;
    std::optional<std::string> textFolder;
    std::optional<EExistingText> existing;
    std::optional<CTextForm::ELayout> layout;
    std::optional<CConversionOptions::EEngine> engine;
    bool bCrLf = false;
    bool bNoPageBreaks = false;
    bool bByteOrderMark = false;
    bool bOcr = false;
    bool bNoGarbledCheck = false;
    std::optional<std::string> ocrLanguages;
    // A file of passwords for locked PDF files; the passwords themselves
    // are never arguments.
    std::optional<std::string> passwordFile;

    std::string reportPath;
    bool bQuiet = false;
    std::optional<CShard> shard;
    // --shard auto: the part comes from the scheduler's variables, with
    // --shard-count for schedulers that give no count.
    bool bShardAuto = false;
    std::optional<int> shardCount;
    // --watch: keep converting what arrives in the folders given.
    bool bWatch = false;
    std::optional<int> settleSeconds;
    std::optional<int> pollSeconds;
    std::optional<std::string> settingsPath;

    bool bHelp = false;
    bool bVersion = false;
};
