// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PathRules.h"

#include <filesystem>
#include <string>
#include <string_view>

// Where an add operation puts the text files: beside each source, or under a
// text folder. There a source added on its own gets its text at the top,
// and one found by walking an added folder F at `<name of F>/<path below
// F>`, so that each added folder is mirrored.
class CTextPlacement
{
public:
    // `textFolder` empty puts each text beside its source.
    CTextPlacement(std::string textFolder, const CPathRules& rules);

    bool IsBesideSources() const { return m_strTextFolder.empty(); }
    // The folder of the text of `source`, ending in a separator, when it
    // was found by walking `root` (empty for a source added on its own);
    // empty when texts lie beside their sources.
    std::string FolderFor(std::string_view source, std::string_view root) const;
    // Whether a folder about to be walked is the text folder, which is
    // never walked: its texts are no sources.
    bool IsTextFolder(const std::string& folder) const;

private:
    std::string WithoutEndSeparators(std::string_view path) const;

    // Without a separator at its end.
    std::string m_strTextFolder;
    std::filesystem::path m_canonicalTextFolder;
    const CPathRules& m_rules;
};
