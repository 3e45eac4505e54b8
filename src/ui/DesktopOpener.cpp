#include "DesktopOpener.h"

#include "dialogs/QtText.h"

#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

namespace
{
// xdg-open hands the file over and ends; one that takes longer is running
// the opening program itself and is left to it.
constexpr int kOpenerWaitMilliseconds = 5000;
// The error number for a file that is not there.
constexpr int kFileNotFound = 2;
// The error number when nothing can open files at all.
constexpr int kNoOpener = 31;
// xdg-open's status when the opening itself failed; an opener that crashed
// is reported the same way.
constexpr int kOpeningFailed = 4;
} // namespace

int CDesktopOpener::OpenFile(const std::string& path)
{
    QString file = CQtText::FromPath(path);
    if (!QFileInfo::exists(file))
        return kFileNotFound;
#ifdef _WIN32
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file)) ? 0 : kNoOpener;
#else
    auto* opener = new QProcess;
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({file});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());

    QEventLoop loop;
    QObject::connect(opener, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(opener, &QProcess::errorOccurred, &loop,
                     [&loop](QProcess::ProcessError error)
                     {
                         if (error == QProcess::FailedToStart)
                             loop.quit();
                     });
    QTimer::singleShot(kOpenerWaitMilliseconds, &loop, &QEventLoop::quit);
    opener->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (opener->state() != QProcess::NotRunning)
    {
        // Still busy: let it finish on its own and clean up after itself.
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return 0;
    }
    int result = 0;
    if (opener->error() == QProcess::FailedToStart)
        result = kNoOpener;
    else if (opener->exitStatus() != QProcess::NormalExit)
        result = kOpeningFailed;
    else
        result = opener->exitCode();
    opener->deleteLater();
    return result;
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
