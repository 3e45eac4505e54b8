// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The per-user settings store: string and integer values by section and
// name. An empty section means the values directly in the program's key. A
// value that is absent reads as empty text or 0.
class CSettings
{
public:
    virtual ~CSettings() = default;

    virtual std::string GetString(const std::string& section, const std::string& name) const = 0;
    virtual void SetString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
    virtual int GetInt(const std::string& section, const std::string& name) const = 0;
    virtual void SetInt(const std::string& section, const std::string& name, int value) = 0;
};
