// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Settings.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The window program's settings as its INI file holds them, read without Qt
// so that the command can follow the choices made in the window. Values of
// the empty section are the keys of the group "[General]"; section "Tip",
// name "StartUp" is the key "StartUp" of the group "[Tip]". Keys and values
// are unescaped, quoted, joined and turned into numbers the way the window
// reads them back, so both programs see the same values; names match
// regardless of case on Windows only, as they do in the window. A value the
// window stored as another type than text or bytes ("@Variant(...)") reads
// as empty text and 0; the window itself only stores texts and numbers.
//
// The file is read once, by Load. SetString and SetInt change only the
// values held in memory: the user's file is never written.
class CIniSettings : public CSettings
{
public:
    // The settings of the file at the path (UTF-8), or nothing with the
    // reason in error (an errno value) when the file cannot be read.
    static std::optional<CIniSettings> Load(const std::string& path, int& error);

    std::string GetString(const std::string& section, const std::string& name) const override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;
    int GetInt(const std::string& section, const std::string& name) const override;
    void SetInt(const std::string& section, const std::string& name, int value) override;

private:
    // A value as the window reads it: its text, and the number the text
    // stands for, 0 when it is none.
    struct CValue
    {
        std::string strText;
        int nNumber = 0;
    };

    explicit CIniSettings(std::string_view fileText);

    void ReadEntry(const std::u16string& groupPrefix, std::string_view line, std::size_t equalsAt);
    static CValue ValueOf(std::string_view rawValue);
    static CValue TextValue(const std::u16string& text);
    static std::optional<CValue> TaggedValue(const std::u16string& text);
    static CValue ListValue(const std::vector<std::u16string>& items);
    static std::optional<std::string> Key(const std::string& section, const std::string& name);
    const CValue* Find(const std::string& section, const std::string& name) const;

    std::map<std::string, CValue> m_mapValues;
};
