// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Settings.h"

#include <map>
#include <utility>

// Settings kept in memory only: for tests and for runs that must not touch
// the user's stored settings.
class CMemorySettings : public CSettings
{
public:
    std::string GetString(const std::string& section, const std::string& name) const override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;
    int GetInt(const std::string& section, const std::string& name) const override;
    void SetInt(const std::string& section, const std::string& name, int value) override;

    bool Has(const std::string& section, const std::string& name) const;
    int WriteCount() const { return m_nWrites; }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
    int m_nWrites = 0;
};
