// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The four pieces of a path, split the way the Windows runtime's _splitpath
// splits it: the directory keeps its trailing separator and the extension
// keeps its leading dot.
struct CSplitPath
{
    std::string strDrive;
    std::string strDir;
    std::string strBaseName;
    std::string strExt;
};

// How paths are split and compared on one kind of file system. Windows rules
// know drive letters and both separators and treat paths that differ only in
// letter case as the same file; POSIX rules know only '/' and tell the two
// files apart. Both rule sets exist on every platform so that each can be
// tested anywhere.
class CPathRules
{
public:
    enum class EKind
    {
        Windows,
        Posix
    };

    explicit CPathRules(EKind kind) : m_kind(kind) {}

    static const CPathRules& Native();
    static const CPathRules& Windows();
    static const CPathRules& Posix();

    EKind Kind() const { return m_kind; }
    char Separator() const { return m_kind == EKind::Windows ? '\\' : '/'; }
    bool IsSeparator(char ch) const;

    CSplitPath Split(std::string_view path) const;

    // A name added to a folder's path. The separator is the one the folder's
    // path already ends with or uses last, so a Windows path that came with
    // '/' (as Qt hands them over) stays in one style; the rules' own when
    // the path has none.
    std::string Join(std::string_view folder, std::string_view name) const;

    // Whether two strings name the same file.
    bool SamePath(std::string_view a, std::string_view b) const;
    // A string that two paths share exactly when SamePath holds for them, to
    // file paths in a hash.
    std::string SamePathKey(std::string_view path) const;

    // The list's sort order on every platform: bytes compared in order after
    // folding A-Z to a-z. Negative, zero or positive like strcmp.
    static int CompareNoCase(std::string_view a, std::string_view b);

private:
    EKind m_kind;
};
