// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

class QWidget;

// The file and folder choosers. They are Qt's own dialogs rather than the
// desktop's, so that they behave alike on every desktop: patterns match in
// either letter case and the folder chooser can show its status line.
class CFileDialogs
{
public:
    // Existing files, several at once; empty when cancelled.
    static std::vector<std::string> ChooseFiles(QWidget* parent, const std::string& filter,
                                                const std::string& initialFolder);
    // One folder, starting at `initialFolder`, with `statusText` shown below
    // the folder list; nothing when cancelled.
    static std::optional<std::string>
    ChooseFolder(QWidget* parent, const std::string& initialFolder, const std::string& statusText);
};
