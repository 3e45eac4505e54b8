// SPDX-License-Identifier: GPL-3.0-or-later
#include "QueuedPaths.h"

#include "platform/FileProbe.h"
#include "platform/PathRules.h"

#include <optional>

CQueuedPaths::CKeys CQueuedPaths::KeysOf(std::string_view sourcePath,
                                         std::string_view textPath) const
{
    return CKeys{m_rules.SamePathKey(sourcePath), FileKey(textPath),
                 CTextWriter{FileKey(sourcePath), std::string(sourcePath)}};
}

// The two kinds of key start differently, so that a folder's path can never
// pass for another folder's identity.
std::string CQueuedPaths::FileKey(std::string_view path) const
{
    CSplitPath parts = m_rules.Split(path);
    std::string folder = parts.strDrive + parts.strDir;
    std::string name = m_rules.SamePathKey(parts.strBaseName + parts.strExt);
    std::optional<CFileStamp> stamp = CFileProbe::Stamp(folder.empty() ? "." : folder);
    if (!stamp)
        return "path " + m_rules.SamePathKey(folder) + name;
    return "id " + std::to_string(stamp->nDevice) + ":" + std::to_string(stamp->nInode) + " " +
           name;
}

// The source is taken back when the text cannot be filed, so that the two
// counts stay in step.
void CQueuedPaths::Add(const CKeys& keys)
{
    ++m_sources[keys.strSource];
    try
    {
        ++m_texts.try_emplace(keys.strText, CText{0, keys.writer}).first->second.nCount;
    }
    catch (...)
    {
        Drop(m_sources, keys.strSource);
        throw;
    }
}

void CQueuedPaths::Remove(const CKeys& keys)
{
    Drop(m_sources, keys.strSource);
    auto text = m_texts.find(keys.strText);
    if (text != m_texts.end() && --text->second.nCount == 0)
        m_texts.erase(text);
}

std::optional<CTextWriter> CQueuedPaths::WriterOf(const std::string& textKey) const
{
    auto text = m_texts.find(textKey);
    if (text == m_texts.end())
        return std::nullopt;
    return text->second.writer;
}

bool CQueuedPaths::HoldsSource(std::string_view sourcePath) const
{
    return m_sources.count(m_rules.SamePathKey(sourcePath)) != 0;
}

void CQueuedPaths::Drop(CCounts& counts, const std::string& key)
{
    auto found = counts.find(key);
    if (found != counts.end() && --found->second == 0)
        counts.erase(found);
}
