// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleOutput.h"

CConsoleOutput::CConsoleOutput(const CCommandStreams& streams, bool showProgress)
    : m_streams(streams), m_bShowProgress(showProgress)
{
}

void CConsoleOutput::Message(const std::string& text)
{
    ClearProgress();
    std::string lines = text;
    if (lines.empty() || lines.back() != '\n')
        lines += '\n';
    m_streams.writeError(lines);
}

// Spaces rather than a terminal's escape codes blank what is left of a
// longer line: every console understands them.
void CConsoleOutput::Progress(const std::string& line)
{
    if (!m_bShowProgress)
        return;
    std::string drawn = "\r" + line;
    if (line.size() < m_nDrawn)
        drawn.append(m_nDrawn - line.size(), ' ');
    m_streams.writeError(drawn);
    m_nDrawn = line.size();
}

void CConsoleOutput::Prompt(const std::string& text)
{
    ClearProgress();
    m_streams.writeError(text);
}

void CConsoleOutput::ClearProgress()
{
    if (m_nDrawn == 0)
        return;
    m_streams.writeError("\r" + std::string(m_nDrawn, ' ') + "\r");
    m_nDrawn = 0;
}

void CConsoleOutput::Output(const std::string& text)
{
    m_streams.writeOutput(text);
}
