// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

class CPathSources;
class CPrompts;
class CZeltoDoc;

// The window's add commands: each gathers its paths (the file or folder
// chooser, the clipboard, a drop) and hands them to the document with the
// busy cursor showing. Gathering is guarded like any window command; the
// document guards its own add operation.
class CAddCommands
{
public:
    CAddCommands(CZeltoDoc& doc, CPrompts& prompts, CPathSources& sources);

    void AddFiles();
    void AddFolder();
    void PasteFiles();
    void AddDropped(const std::vector<std::string>& paths);

private:
    CZeltoDoc& m_doc;
    CPrompts& m_prompts;
    CPathSources& m_sources;
};
