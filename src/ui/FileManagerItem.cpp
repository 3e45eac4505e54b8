// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileManagerItem.h"

#include "dialogs/QtText.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#ifdef _WIN32
#include <QDir>
#include <QProcess>
#else
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

namespace
{
void OpenFolderOf(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}
} // namespace

// Explorer selects the file itself; elsewhere the freedesktop file manager
// interface does, and a desktop without one opens the folder instead.
void CFileManagerItem::Show(const std::string& path)
{
    QString file = CQtText::FromPath(path);
#ifdef _WIN32
    if (!QProcess::startDetached(QStringLiteral("explorer.exe"),
                                 {QStringLiteral("/select,") + QDir::toNativeSeparators(file)}))
        OpenFolderOf(file);
#else
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(file).toString()} << QString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
    {
        OpenFolderOf(file);
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [file](QDBusPendingCallWatcher* done)
                     {
                         if (done->isError())
                             OpenFolderOf(file);
                         done->deleteLater();
                     });
#endif
}
