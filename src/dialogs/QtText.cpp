// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtText.h"

#include "platform/MessageTable.h"

#include <QFile>

QString CQtText::FromPath(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string CQtText::ToPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString CQtText::FromText(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string CQtText::ToText(const QString& text)
{
    return text.toStdString();
}

QString CQtText::Message(EMessageId id, std::initializer_list<CFormatArg> args)
{
    return FromText(CMessageTable::Format(id, args));
}
