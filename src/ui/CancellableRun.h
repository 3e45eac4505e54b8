#pragma once

#include "platform/CancelFlag.h"

#include <QObject>
#include <QPointer>

#include <chrono>
#include <exception>
#include <functional>

class QEventLoop;
class QWidget;
class CRunProgressDlg;

// Runs one piece of blocking work on a worker thread while the GUI thread
// keeps handling events, so the windows repaint. For a short while no user
// input is handled at all (it waits, as it would behind a busy window);
// work that takes longer gets a modal progress dialog with a Cancel, which
// keeps input away from every other window.
class CCancellableRun : public QObject
{
    Q_OBJECT

public:
    // Work that ends sooner than this never shows the dialog, so quick runs
    // do not flicker.
    static constexpr std::chrono::milliseconds kProgressDelay{300};

    CCancellableRun(QString fileName, int filesDone, QWidget* parent);
    ~CCancellableRun() override;

    // Returns when the work has ended. An exception of the work is thrown
    // again here, on the calling thread, after the event loop has finished.
    void Run(const std::function<void(const CCancelFlag&)>& work);

private:
    // Runs on the worker thread.
    void Work(const std::function<void(const CCancelFlag&)>& work);
    void WaitQuietly();
    void WaitWithProgress();
    void OnFinished();
    void OnDelayElapsed();

    QString m_strFileName;
    int m_nFilesDone;
    QPointer<QWidget> m_pParent;
    CCancelFlag m_cancel;
    std::exception_ptr m_failure;
    QEventLoop* m_pLoop = nullptr;
    bool m_bFinished = false;
    bool m_bDelayElapsed = false;
};
