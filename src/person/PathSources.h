// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

// Where the window gathers the paths of an add before it hands them to the
// document: the file and folder choosers and the clipboard. User's thread
// only.
class CPathSources
{
public:
    virtual ~CPathSources() = default;

    // A multi-select dialog for existing files. `filter` is one entry in the
    // form "Label (*.ext1 *.ext2)"; `initialFolder` may be empty. Returns
    // the chosen paths in the dialog's order; empty when cancelled.
    virtual std::vector<std::string> ChooseFiles(const std::string& filter,
                                                 const std::string& initialFolder) = 0;

    // A folder chooser starting at `initialFolder` (may be empty) and
    // showing `statusText`. Nothing when cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& initialFolder,
                                                    const std::string& statusText) = 0;

    // The local file paths on the clipboard, in clipboard order; nothing
    // when the clipboard holds no file list.
    virtual std::optional<std::vector<std::string>> ClipboardFiles() = 0;
};
