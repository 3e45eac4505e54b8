// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConversionWait.h"

#include "dialogs/QtText.h"
#include "dialogs/RunProgressDlg.h"
#include "person/ProgressIndication.h"
#include "platform/CancelFlag.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

CConversionWait::CConversionWait(QObject* parent)
    : QObject(parent), m_pDialogUpdateTimer(new QTimer(this))
{
    m_pDialogUpdateTimer->setSingleShot(true);
    connect(m_pDialogUpdateTimer, &QTimer::timeout, this, &CConversionWait::UpdateDialog);
}

CConversionWait::~CConversionWait()
{
    EndOperation();
}

void CConversionWait::Wait(const CConversionMonitor& monitor, CCancelFlag& cancel,
                           QWidget* dialogParent)
{
    if (!m_operationClock.isValid())
        m_operationClock.start();
    m_pDialogParent = dialogParent;
    m_pMonitor = &monitor;
    m_pCancel = &cancel;

    QEventLoop loop;
    m_pLoop = &loop;
    QTimer delay;
    if (!m_pDialog)
    {
        auto left = kProgressDelay - std::chrono::milliseconds(m_operationClock.elapsed());
        delay.setSingleShot(true);
        connect(&delay, &QTimer::timeout, this, [this] { ShowDialog(); });
        delay.start(std::max<std::chrono::milliseconds>(left, std::chrono::milliseconds(0)));
    }
    UpdateDialog();
    while (!monitor.IsReady() && !cancel.IsRequested())
    {
        // Until the dialog is there to take it, input waits, as it would
        // behind a busy window. A wake or the dialog's appearance ends one
        // round of the loop so that the right kind of loop runs next.
        loop.exec(m_pDialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    m_pLoop = nullptr;
    m_pMonitor = nullptr;
    m_pCancel = nullptr;
}

void CConversionWait::Wake()
{
    // Many workers may finish at once; one check on the GUI thread serves
    // them all.
    if (m_bWakePending.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &CConversionWait::Check, Qt::QueuedConnection);
}

void CConversionWait::Check()
{
    m_bWakePending = false;
    if (!m_pLoop)
        return;
    UpdateDialog();
    if (m_pMonitor->IsReady() || m_pCancel->IsRequested())
        m_pLoop->quit();
}

void CConversionWait::ShowDialog()
{
    if (m_pDialog || !m_pLoop)
        return;
    m_pDialog = std::make_unique<CRunProgressDlg>(m_pDialogParent);
    connect(m_pDialog.get(), &CRunProgressDlg::CancelRequested, this,
            [this]
            {
                if (m_pCancel)
                    m_pCancel->Request();
                Check();
            });
    UpdateDialog();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_pDialog->show();
    m_pLoop->quit();
}

void CConversionWait::UpdateDialog()
{
    if (!m_pDialog || !m_pMonitor)
        return;
    auto sinceUpdate =
        std::chrono::milliseconds(m_sinceDialogUpdate.isValid() ? m_sinceDialogUpdate.elapsed()
                                                                : kProgressUpdateInterval.count());
    if (sinceUpdate < kProgressUpdateInterval)
    {
        if (!m_pDialogUpdateTimer->isActive())
            m_pDialogUpdateTimer->start(kProgressUpdateInterval - sinceUpdate);
        return;
    }
    m_pDialogUpdateTimer->stop();
    m_sinceDialogUpdate.start();
    CConversionProgress progress = m_pMonitor->Progress();
    QStringList names;
    for (std::size_t i = 0; i < progress.converting.size(); ++i)
    {
        QString name = QFileInfo(CQtText::FromPath(progress.converting[i])).fileName();
        if (i < progress.activities.size() && !progress.activities[i].empty())
            name += QStringLiteral(" \u2014 ") + CQtText::FromText(progress.activities[i]);
        names << name;
    }
    m_pDialog->SetProgress(progress.nDone, progress.nQueued, names);
}

void CConversionWait::EndOperation()
{
    m_pDialogUpdateTimer->stop();
    m_sinceDialogUpdate.invalidate();
    if (m_pDialog)
    {
        m_pDialog->hide();
        m_pDialog.reset();
        QApplication::restoreOverrideCursor();
    }
    m_operationClock.invalidate();
}
