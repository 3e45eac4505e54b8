// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemorySettings.h"

#include <cstdlib>

std::string CMemorySettings::GetString(const std::string& section, const std::string& name) const
{
    auto found = m_values.find({section, name});
    return found == m_values.end() ? std::string() : found->second;
}

void CMemorySettings::SetString(const std::string& section, const std::string& name,
                                const std::string& value)
{
    m_values[{section, name}] = value;
    ++m_nWrites;
}

int CMemorySettings::GetInt(const std::string& section, const std::string& name) const
{
    auto found = m_values.find({section, name});
    return found == m_values.end() ? 0 : std::atoi(found->second.c_str());
}

void CMemorySettings::SetInt(const std::string& section, const std::string& name, int value)
{
    SetString(section, name, std::to_string(value));
}

bool CMemorySettings::Has(const std::string& section, const std::string& name) const
{
    return m_values.count({section, name}) != 0;
}
