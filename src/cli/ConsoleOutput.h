// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandStreams.h"

#include <string>

// The error stream of a command that may show a progress line: messages and
// the progress line share it, so a message first takes the line away and
// the next update draws it again below the message. Main thread only.
class CConsoleOutput
{
public:
    // `showProgress`: whether progress lines are drawn at all.
    CConsoleOutput(const CCommandStreams& streams, bool showProgress);

    bool ShowsProgress() const { return m_bShowProgress; }
    int Columns() const { return m_streams.nColumns; }

    // Writes the text on lines of its own.
    void Message(const std::string& text);
    // Draws the progress line over the last one.
    void Progress(const std::string& line);
    // Writes a question's choices, leaving the cursor after them.
    void Prompt(const std::string& text);
    // Takes the progress line away.
    void ClearProgress();
    // Writes to the standard output.
    void Output(const std::string& text);

private:
    const CCommandStreams& m_streams;
    const bool m_bShowProgress;
    std::size_t m_nDrawn = 0;
};
