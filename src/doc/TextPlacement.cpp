// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextPlacement.h"

#include <system_error>

namespace
{
std::filesystem::path FsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path Canonical(const std::string& path)
{
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(FsPath(path), error);
    return error ? FsPath(path) : canonical;
}
} // namespace

CTextPlacement::CTextPlacement(std::string textFolder, const CPathRules& rules) : m_rules(rules)
{
    m_strTextFolder = WithoutEndSeparators(textFolder);
    if (m_strTextFolder.empty() && !textFolder.empty())
        m_strTextFolder = textFolder.substr(0, 1); // the root itself
    if (!m_strTextFolder.empty())
        m_canonicalTextFolder = Canonical(m_strTextFolder);
}

std::string CTextPlacement::WithoutEndSeparators(std::string_view path) const
{
    while (!path.empty() && m_rules.IsSeparator(path.back()))
        path.remove_suffix(1);
    return std::string(path);
}

std::string CTextPlacement::FolderFor(std::string_view source, std::string_view root) const
{
    if (IsBesideSources())
        return {};
    std::string folder = m_rules.Join(m_strTextFolder, "");
    if (root.empty())
        return folder;
    std::string top = WithoutEndSeparators(root);
    CSplitPath parts = m_rules.Split(top);
    folder = m_rules.Join(folder, parts.strBaseName + parts.strExt);
    CSplitPath sourceParts = m_rules.Split(source);
    std::string sourceFolder = sourceParts.strDrive + sourceParts.strDir;
    // The walk joins every name to the root as it was given.
    if (sourceFolder.size() > top.size() && sourceFolder.compare(0, top.size(), top) == 0)
        folder = m_rules.Join(folder, std::string_view(sourceFolder).substr(top.size() + 1));
    return m_rules.Join(folder, "");
}

bool CTextPlacement::IsTextFolder(const std::string& folder) const
{
    return !IsBesideSources() && Canonical(folder) == m_canonicalTextFolder;
}
