#include "CancellableRun.h"

#include "dialogs/RunProgressDlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <system_error>
#include <thread>

CCancellableRun::CCancellableRun(QString fileName, int filesDone, QWidget* parent)
    : m_strFileName(std::move(fileName)), m_nFilesDone(filesDone), m_pParent(parent)
{
}

CCancellableRun::~CCancellableRun() = default;

void CCancellableRun::Run(const std::function<void(const CCancelFlag&)>& work)
{
    std::thread worker;
    try
    {
        worker = std::thread([this, &work] { Work(work); });
    }
    catch (const std::system_error&)
    {
        // No thread to be had: the work still gets done, only the window
        // stands still meanwhile.
        work(m_cancel);
        return;
    }
    try
    {
        QTimer::singleShot(kProgressDelay, this, &CCancellableRun::OnDelayElapsed);
        WaitQuietly();
        if (!m_bFinished)
            WaitWithProgress();
    }
    catch (...)
    {
        // The work must not outlive what it refers to.
        m_cancel.Request();
        worker.join();
        throw;
    }
    // The worker has posted its last word; all that is left is its return.
    worker.join();
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void CCancellableRun::Work(const std::function<void(const CCancelFlag&)>& work)
{
    try
    {
        work(m_cancel);
    }
    catch (...)
    {
        m_failure = std::current_exception();
    }
    QMetaObject::invokeMethod(this, &CCancellableRun::OnFinished, Qt::QueuedConnection);
}

void CCancellableRun::WaitQuietly()
{
    QEventLoop loop;
    m_pLoop = &loop;
    if (!m_bFinished && !m_bDelayElapsed)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_pLoop = nullptr;
}

void CCancellableRun::WaitWithProgress()
{
    CRunProgressDlg dialog(m_strFileName, m_nFilesDone, m_pParent);
    connect(&dialog, &CRunProgressDlg::CancelRequested, this, [this] { m_cancel.Request(); });
    QApplication::setOverrideCursor(Qt::BusyCursor);
    dialog.show();

    QEventLoop loop;
    m_pLoop = &loop;
    if (!m_bFinished)
        loop.exec();
    m_pLoop = nullptr;

    dialog.hide();
    QApplication::restoreOverrideCursor();
}

void CCancellableRun::OnFinished()
{
    m_bFinished = true;
    if (m_pLoop)
        m_pLoop->quit();
}

void CCancellableRun::OnDelayElapsed()
{
    m_bDelayElapsed = true;
    if (m_pLoop && !m_bFinished)
        m_pLoop->quit();
}
