// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathFeed.h"

#include <algorithm>
#include <cerrno>

CPathFeed::CPathFeed(FRead read, bool nulSeparated)
    : m_read(std::move(read)), m_cSeparator(nulSeparated ? '\0' : '\n'), m_buffer(64 * 1024)
{
}

CPathFeed::FRead CPathFeed::FromFile(std::FILE* file)
{
    return [file](char* buffer, std::size_t size) -> long
    {
        std::size_t count = std::fread(buffer, 1, size, file);
        if (count == 0 && std::ferror(file))
            return -1;
        return static_cast<long>(count);
    };
}

bool CPathFeed::Next(std::string& path)
{
    path.clear();
    for (;;)
    {
        if (m_nPosition == m_nEnd && !Fill())
        {
            // The last entry may lack its separator.
            if (!path.empty() && m_nError == 0)
                break;
            return false;
        }
        const char* start = m_buffer.data() + m_nPosition;
        const char* stop = m_buffer.data() + m_nEnd;
        const char* separator = std::find(start, stop, m_cSeparator);
        path.append(start, separator);
        m_nPosition = static_cast<std::size_t>(separator - m_buffer.data());
        if (separator == stop)
            continue;
        ++m_nPosition;
        if (m_cSeparator == '\n' && !path.empty() && path.back() == '\r')
            path.pop_back();
        if (!path.empty())
            return true;
    }
    if (m_cSeparator == '\n' && path.back() == '\r')
        path.pop_back();
    return !path.empty();
}

bool CPathFeed::Fill()
{
    if (m_bEnded)
        return false;
    long count = m_read(m_buffer.data(), m_buffer.size());
    if (count <= 0)
    {
        m_bEnded = true;
        m_nError = count < 0 ? (errno ? errno : EIO) : 0;
        return false;
    }
    m_nPosition = 0;
    m_nEnd = static_cast<std::size_t>(count);
    return true;
}
