// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TextWriter.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class CPathRules;

// The source paths and text files of the files in a conversion queue,
// counted, so that asking whether a path is queued costs the same however
// long the queue grows. A text file is known by its folder's identity
// (device and file number, whatever path leads there) and by its name as
// the path rules compare names: two paths through a link to one folder name
// one text file.
class CQueuedPaths
{
public:
    // What one queued file is filed under.
    struct CKeys
    {
        std::string strSource;
        std::string strText;
        CTextWriter writer;
    };

    explicit CQueuedPaths(const CPathRules& rules) : m_rules(rules) {}

    CKeys KeysOf(std::string_view sourcePath, std::string_view textPath) const;
    // A file known by its folder's identity, read from the file system, and
    // its name; a folder that cannot be looked at is known by its path.
    std::string FileKey(std::string_view path) const;

    void Add(const CKeys& keys);
    // Keys that were never added are passed over.
    void Remove(const CKeys& keys);

    bool HoldsSource(std::string_view sourcePath) const;
    bool HoldsText(const std::string& textKey) const { return m_texts.count(textKey) != 0; }
    // The source of the first queued file that writes the text file.
    std::optional<CTextWriter> WriterOf(const std::string& textKey) const;

private:
    using CCounts = std::unordered_map<std::string, int>;
    struct CText
    {
        int nCount = 0;
        CTextWriter writer;
    };

    static void Drop(CCounts& counts, const std::string& key);

    const CPathRules& m_rules;
    CCounts m_sources;
    std::unordered_map<std::string, CText> m_texts;
};
