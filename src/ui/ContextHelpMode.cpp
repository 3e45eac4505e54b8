// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContextHelpMode.h"

#include <QApplication>
#include <QKeyEvent>

CContextHelpMode::CContextHelpMode(QObject* parent) : QObject(parent) {}

CContextHelpMode::~CContextHelpMode()
{
    Leave();
}

void CContextHelpMode::Enter()
{
    if (m_bActive)
        return;
    m_bActive = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
    emit ActiveChanged(true);
}

void CContextHelpMode::Leave()
{
    if (!m_bActive)
        return;
    m_bActive = false;
    if (qApp)
    {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
    emit ActiveChanged(false);
}

bool CContextHelpMode::eventFilter(QObject* /*watched*/, QEvent* event)
{
    switch (event->type())
    {
    case QEvent::MouseButtonPress:
        Leave();
        emit HelpRequested();
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        {
            Leave();
            return true;
        }
        return false;
    default:
        return false;
    }
}
