// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtSettings.h"

#include "dialogs/QtText.h"

CQtSettings::CQtSettings()
    : m_pSettings(std::make_unique<QSettings>(QString::fromLatin1(kOrganization),
                                              QString::fromLatin1(kApplication)))
{
}

CQtSettings::CQtSettings(const QString& filePath)
    : m_pSettings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

CQtSettings::~CQtSettings() = default;

QString CQtSettings::Key(const std::string& section, const std::string& name)
{
    QString key = CQtText::FromText(name);
    if (section.empty())
        return key;
    return CQtText::FromText(section) + QLatin1Char('/') + key;
}

std::string CQtSettings::GetString(const std::string& section, const std::string& name) const
{
    QVariant value = m_pSettings->value(Key(section, name));
    // An INI file edited by hand may hold a text with commas unquoted, which
    // reads back as a list; the text is wanted whole.
    if (value.typeId() == QMetaType::QStringList)
        return CQtText::ToText(value.toStringList().join(QLatin1Char(',')));
    return CQtText::ToText(value.toString());
}

void CQtSettings::SetString(const std::string& section, const std::string& name,
                            const std::string& value)
{
    m_pSettings->setValue(Key(section, name), CQtText::FromText(value));
    // Written at once, so nothing set is lost if the program ends abruptly.
    m_pSettings->sync();
}

int CQtSettings::GetInt(const std::string& section, const std::string& name) const
{
    bool ok = false;
    int value = m_pSettings->value(Key(section, name)).toInt(&ok);
    return ok ? value : 0;
}

void CQtSettings::SetInt(const std::string& section, const std::string& name, int value)
{
    m_pSettings->setValue(Key(section, name), value);
    m_pSettings->sync();
}

QString CQtSettings::Location() const
{
    return m_pSettings->fileName();
}

bool CQtSettings::IsWritable() const
{
    return m_pSettings->isWritable() && m_pSettings->status() == QSettings::NoError;
}
