// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathRules.h"

#include <algorithm>

namespace
{
unsigned char FoldAscii(unsigned char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<unsigned char>(ch - 'A' + 'a') : ch;
}
} // namespace

const CPathRules& CPathRules::Native()
{
#ifdef _WIN32
    return Windows();
#else
    return Posix();
#endif
}

const CPathRules& CPathRules::Windows()
{
    static const CPathRules rules(EKind::Windows);
    return rules;
}

const CPathRules& CPathRules::Posix()
{
    static const CPathRules rules(EKind::Posix);
    return rules;
}

bool CPathRules::IsSeparator(char ch) const
{
    return ch == '/' || (m_kind == EKind::Windows && ch == '\\');
}

CSplitPath CPathRules::Split(std::string_view path) const
{
    CSplitPath parts;
    if (m_kind == EKind::Windows && path.size() >= 2 && path[1] == ':')
    {
        parts.strDrive = path.substr(0, 2);
        path.remove_prefix(2);
    }

    size_t nameStart = 0;
    for (size_t i = path.size(); i > 0; --i)
    {
        if (IsSeparator(path[i - 1]))
        {
            nameStart = i;
            break;
        }
    }
    parts.strDir = path.substr(0, nameStart);

    std::string_view name = path.substr(nameStart);
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
    {
        parts.strBaseName = name;
    }
    else
    {
        parts.strBaseName = name.substr(0, dot);
        parts.strExt = name.substr(dot);
    }
    return parts;
}

std::string CPathRules::Join(std::string_view folder, std::string_view name) const
{
    std::string joined(folder);
    if (!joined.empty() && IsSeparator(joined.back()))
        return joined.append(name);
    char separator = Separator();
    for (size_t i = joined.size(); i > 0; --i)
    {
        if (IsSeparator(joined[i - 1]))
        {
            separator = joined[i - 1];
            break;
        }
    }
    joined += separator;
    return joined.append(name);
}

bool CPathRules::SamePath(std::string_view a, std::string_view b) const
{
    if (m_kind == EKind::Windows)
        return CompareNoCase(a, b) == 0;
    return a == b;
}

std::string CPathRules::SamePathKey(std::string_view path) const
{
    std::string key(path);
    if (m_kind == EKind::Windows)
    {
        for (char& ch : key)
            ch = static_cast<char>(FoldAscii(static_cast<unsigned char>(ch)));
    }
    return key;
}

int CPathRules::CompareNoCase(std::string_view a, std::string_view b)
{
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
    {
        unsigned char ca = FoldAscii(static_cast<unsigned char>(a[i]));
        unsigned char cb = FoldAscii(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
