// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettleList.h"

CSettleList::CSettleList(std::chrono::milliseconds settle, FStamp stamp)
    : m_settle(settle), m_stamp(std::move(stamp))
{
}

void CSettleList::Note(const std::string& path, EWriter writer, CClock::time_point now,
                       bool changed)
{
    CFile& file = m_files[path];
    file.bChanged = file.bChanged || changed;
    file.stamp = m_stamp(path);
    file.since = now;
    file.eWriter = writer;
}

// An empty file is waited on as if open unless its writer closed it: a
// program that makes its file first and writes it later has written nothing
// yet.
std::vector<CSettleList::CReady> CSettleList::TakeSettled(CClock::time_point now)
{
    std::vector<CReady> settled;
    for (auto it = m_files.begin(); it != m_files.end();)
    {
        CFile& file = it->second;
        if (file.eWriter == EWriter::Open || now - file.since < m_settle)
        {
            ++it;
            continue;
        }
        std::optional<CFileStamp> stamp = m_stamp(it->first);
        if (!stamp)
        {
            it = m_files.erase(it);
            continue;
        }
        bool waitsForWrites = stamp->nSize == 0 && file.eWriter != EWriter::Closed;
        if (stamp != file.stamp || waitsForWrites)
        {
            file.stamp = stamp;
            file.since = now;
            if (waitsForWrites)
                file.eWriter = EWriter::Open;
            ++it;
            continue;
        }
        settled.push_back({it->first, file.bChanged});
        it = m_files.erase(it);
    }
    return settled;
}

std::optional<CSettleList::CClock::time_point> CSettleList::NextDue() const
{
    std::optional<CClock::time_point> due;
    for (const auto& [path, file] : m_files)
    {
        if (file.eWriter != EWriter::Open && (!due || file.since + m_settle < *due))
            due = file.since + m_settle;
    }
    return due;
}
