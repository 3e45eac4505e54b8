// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "extract/FileOutcome.h"

#include <chrono>
#include <optional>

class CConverter;
class CPrompts;

// Takes one converter through the steps an add operation takes with a
// single file (prepare, run the tool, finish), all on the calling thread,
// and presents its outcome in boxes through `prompts` as the window does.
class CConversionSteps
{
public:
    // The file's outcome. With `cancelAfter`, a cancel is asked for once the
    // tool has run that long.
    static CFileOutcome Run(CConverter& converter, CPrompts& prompts,
                            std::optional<std::chrono::milliseconds> cancelAfter = std::nullopt);
};
