// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Settings.h"

#include <QSettings>

#include <memory>

// The per-user settings in QSettings under "Orrinval Software" / "Zelto":
// the registry key on Windows, ~/.config/Orrinval Software/Zelto.conf on
// Linux. Values of the empty section sit directly in the program's key;
// every other section is a group of that name.
class CQtSettings : public CSettings
{
public:
    static constexpr const char* kOrganization = "Orrinval Software";
    static constexpr const char* kApplication = "Zelto";

    // The user's own settings.
    CQtSettings();
    // Settings kept in one INI file of the given path (for tests and for
    // runs that must leave the user's settings alone).
    explicit CQtSettings(const QString& filePath);
    ~CQtSettings() override;

    std::string GetString(const std::string& section, const std::string& name) const override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;
    int GetInt(const std::string& section, const std::string& name) const override;
    void SetInt(const std::string& section, const std::string& name, int value) override;

    // Where the values are kept (a file name, or a registry path).
    QString Location() const;
    // False once a write could not be stored.
    bool IsWritable() const;

private:
    static QString Key(const std::string& section, const std::string& name);

    std::unique_ptr<QSettings> m_pSettings;
};
