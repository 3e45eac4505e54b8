// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClipboardFileList.h"

#include <QMimeData>
#include <QSysInfo>

std::optional<std::vector<std::string>> CClipboardFileList::Read(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    if (data->hasFormat(QString::fromLatin1(kUriListFormat)))
        return ParseUriList(data->data(QString::fromLatin1(kUriListFormat)));
    if (data->hasFormat(QString::fromLatin1(kGnomeFormat)))
        return ParseGnomeCopiedFiles(data->data(QString::fromLatin1(kGnomeFormat)));
    return std::nullopt;
}

std::vector<std::string> CClipboardFileList::ParseUriList(const QByteArray& bytes)
{
    std::vector<std::string> paths;
    for (const QByteArray& line : Lines(bytes))
    {
        // A line that starts with '#' is a comment in a URI list.
        if (line.startsWith('#'))
            continue;
        if (std::optional<std::string> path = LocalPath(line))
            paths.push_back(std::move(*path));
    }
    return paths;
}

std::vector<std::string> CClipboardFileList::ParseGnomeCopiedFiles(const QByteArray& bytes)
{
    std::vector<QByteArray> lines = Lines(bytes);
    std::vector<std::string> paths;
    if (lines.empty())
        return paths;
    // The first line is the verb ("copy" or "cut"); every file is added
    // either way, the originals stay where they are.
    size_t first = lines.front().contains(':') ? 0 : 1;
    for (size_t i = first; i < lines.size(); ++i)
    {
        if (std::optional<std::string> path = LocalPath(lines[i]))
            paths.push_back(std::move(*path));
    }
    return paths;
}

std::optional<std::string> CClipboardFileList::LocalPath(const QByteArray& uri)
{
    static const QByteArray scheme("file:");
    if (!uri.left(scheme.size()).toLower().startsWith(scheme))
        return std::nullopt;
    QByteArray rest = uri.mid(scheme.size());
    if (rest.startsWith("//"))
    {
        qsizetype pathStart = rest.indexOf('/', 2);
        QByteArray host = rest.mid(2, pathStart < 0 ? -1 : pathStart - 2);
        if (!IsLocalHost(host) || pathStart < 0)
            return std::nullopt;
        rest = rest.mid(pathStart);
    }
    if (!rest.startsWith('/'))
        return std::nullopt;
    // Taking the bytes straight from the escapes keeps names that are not
    // valid UTF-8 exactly as the file system has them.
    QByteArray path = QByteArray::fromPercentEncoding(rest);
    if (path.isEmpty() || path.contains('\0'))
        return std::nullopt;
#ifdef _WIN32
    // "file:///C:/docs" names C:/docs.
    if (path.size() >= 3 && path[2] == ':')
        path.remove(0, 1);
#endif
    return path.toStdString();
}

std::vector<QByteArray> CClipboardFileList::Lines(const QByteArray& bytes)
{
    // Some file managers close the list with a zero byte.
    QByteArray text = bytes;
    while (text.endsWith('\0'))
        text.chop(1);
    std::vector<QByteArray> lines;
    for (const QByteArray& raw : text.split('\n'))
    {
        QByteArray line = raw.trimmed();
        if (!line.isEmpty())
            lines.push_back(line);
    }
    return lines;
}

bool CClipboardFileList::IsLocalHost(const QByteArray& host)
{
    if (host.isEmpty() || host.compare("localhost", Qt::CaseInsensitive) == 0)
        return true;
    return host.compare(QSysInfo::machineHostName().toUtf8(), Qt::CaseInsensitive) == 0;
}
