// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the converter tests share: one file at a time taken through the
// steps an add operation takes, on a temporary folder, with scripted
// prompts.

#include "ConversionSteps.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "extract/Converter.h"
#include "extract/ConverterContext.h"
#include "extract/ConverterTable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

class ConversionFixture : public ::testing::Test
{
protected:
    // Converts and tells whether the file would be listed. With
    // `cancelAfter`, a cancel is asked for once the tool has run that long.
    bool Convert(const std::string& path,
                 std::optional<std::chrono::milliseconds> cancelAfter = std::nullopt)
    {
        std::unique_ptr<CConverter> converter = m_table.FindConverter(path);
        if (!converter)
            return false;
        m_outcome = CConversionSteps::Run(*converter, m_prompts, cancelAfter);
        return m_outcome.bListed;
    }

    // The outcome of the last file converted.
    CFileOutcome m_outcome;
    CTempDir m_dir;
    CScriptedPrompts m_prompts;
    std::shared_ptr<CConverterContext> m_context = std::make_shared<CConverterContext>();
    CConverterTable m_table{m_context};
};
