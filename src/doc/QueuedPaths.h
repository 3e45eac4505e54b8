// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
    };

    explicit CQueuedPaths(const CPathRules& rules) : m_rules(rules) {}

    CKeys KeysOf(std::string_view sourcePath, std::string_view textPath) const;
    // Reads the identity of the text file's folder from the file system; a
    // folder that cannot be looked at is known by its path.
    std::string TextKey(std::string_view textPath) const;

    void Add(const CKeys& keys);
    // Keys that were never added are passed over.
    void Remove(const CKeys& keys);

    bool HoldsSource(std::string_view sourcePath) const;
    bool HoldsText(const std::string& textKey) const { return m_texts.count(textKey) != 0; }

private:
    using CCounts = std::unordered_map<std::string, int>;

    static void Drop(CCounts& counts, const std::string& key);

    const CPathRules& m_rules;
    CCounts m_sources;
    CCounts m_texts;
};
