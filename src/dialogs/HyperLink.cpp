// SPDX-License-Identifier: GPL-3.0-or-later
#include "HyperLink.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>
#include <QWindow>

CHyperLink::CHyperLink(QWidget* parent) : CHyperLink(QString(), parent) {}

CHyperLink::CHyperLink(const QString& text, QWidget* parent)
    : CColorLabel(text, parent), m_fnOpen(&CHyperLink::OpenWithDesktop)
{
    m_crText = m_crNormal;
    m_font.setUnderline(true);
    ApplyLook();
    setCursor(Qt::PointingHandCursor);
}

CHyperLink::~CHyperLink()
{
    if (m_pWatchedWindow)
        m_pWatchedWindow->removeEventFilter(this);
}

void CHyperLink::OpenWithDesktop(const QString& text)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(text));
}

void CHyperLink::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
    {
        m_bButtonDownHere = true;
        SetLabelTextColor(m_crPressed);
    }
    CColorLabel::mousePressEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
    {
        m_bButtonDownHere = false;
        if (rect().contains(event->position().toPoint()))
            OnReleaseOverLink();
    }
    CColorLabel::mouseReleaseEvent(event);
}

void CHyperLink::OnReleaseOverLink()
{
    SetLabelTextColor(m_crNormal);
    if (m_fnOpen)
        m_fnOpen(text());
}

// A release whose press began on another widget goes to that widget, so
// the link hears of it only by watching its window.
void CHyperLink::showEvent(QShowEvent* event)
{
    CColorLabel::showEvent(event);
    QWindow* window = this->window()->windowHandle();
    if (window && window != m_pWatchedWindow)
    {
        if (m_pWatchedWindow)
            m_pWatchedWindow->removeEventFilter(this);
        window->installEventFilter(this);
        m_pWatchedWindow = window;
    }
}

bool CHyperLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pWatchedWindow && event->type() == QEvent::MouseButtonRelease &&
        !m_bButtonDownHere)
    {
        auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton && IsOverLink(release->globalPosition()))
            OnReleaseOverLink();
    }
    return CColorLabel::eventFilter(watched, event);
}

bool CHyperLink::IsOverLink(const QPointF& globalPos) const
{
    if (!isVisible() || !isEnabled())
        return false;
    const QWidget* top = window();
    return top->childAt(top->mapFromGlobal(globalPos.toPoint())) == this;
}
