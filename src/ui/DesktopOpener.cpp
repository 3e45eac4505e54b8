// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopOpener.h"

#include "dialogs/QtText.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace
{
// The error number for a file that is not there.
constexpr int kFileNotFound = 2;
// The error number when nothing can open files at all.
constexpr int kNoOpener = 31;
// xdg-open's status when the opening itself failed; an opener that crashed
// is reported the same way.
constexpr int kOpeningFailed = 4;
} // namespace

int CDesktopOpener::OpenFile(const std::string& path, FFailed onFailed)
{
    QString file = CQtText::FromPath(path);
    if (!QFileInfo::exists(file))
        return kFileNotFound;
#ifdef _WIN32
    (void)onFailed;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file)) ? 0 : kNoOpener;
#else
    // Without a desktop, xdg-open runs the opening program itself and ends
    // only when that program does, so nothing waits for it: its end is
    // heard by the event loop, and the object goes with it. One still
    // running when the program ends is left to run.
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({file});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, onFailed](int exitCode, QProcess::ExitStatus status)
                     {
                         int error = status == QProcess::NormalExit ? exitCode : kOpeningFailed;
                         opener->deleteLater();
                         if (error != 0 && onFailed)
                             onFailed(error);
                     });
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, onFailed](QProcess::ProcessError error)
                     {
                         if (error != QProcess::FailedToStart)
                             return;
                         opener->deleteLater();
                         if (onFailed)
                             onFailed(kNoOpener);
                     });
    opener->start();
    return 0;
#endif
}

bool CDesktopOpener::StartFileManager()
{
#ifdef _WIN32
    return QProcess::startDetached(QStringLiteral("explorer"), {});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QDir::homePath()});
#endif
}
