// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainStatusBar.h"

#include "dialogs/QtText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace
{
// Room on either side of a pane's text, as the bar's own panes have.
constexpr int kPanePadding = 8;
} // namespace

CMainStatusBar::CMainStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("MainStatusBar"));
    m_pIdlePane = new QLabel(CQtText::Message(EMessageId::IdleMessage), this);
    m_pIdlePane->setObjectName(QStringLiteral("IdlePane"));
    addWidget(m_pIdlePane, 1);
    m_pCountPane = AddPane(EMessageId::FileCountPlaceholder, QStringLiteral("FileCountPane"));
    m_pCapsPane = AddPane(EMessageId::IndicatorCaps, QStringLiteral("CapsPane"));
    m_pNumPane = AddPane(EMessageId::IndicatorNum, QStringLiteral("NumPane"));
    m_pScrollPane = AddPane(EMessageId::IndicatorScroll, QStringLiteral("ScrollPane"));
    SetFileCount(0);

    auto* lockTimer = new QTimer(this);
    connect(lockTimer, &QTimer::timeout, this, &CMainStatusBar::UpdateLockPanes);
    lockTimer->start(kLockPollMilliseconds);
    // Key events are watched wherever the focus is, so the lock panes
    // follow a lock key at once rather than at the next look.
    qApp->installEventFilter(this);
    UpdateLockPanes();
}

CMainStatusBar::~CMainStatusBar() = default;

// Each pane after the first is as wide as the text of its id, whatever it
// shows later.
QLabel* CMainStatusBar::AddPane(EMessageId widthText, const QString& name)
{
    auto* pane = new QLabel(this);
    pane->setObjectName(name);
    pane->setAlignment(Qt::AlignCenter);
    int width = pane->fontMetrics().horizontalAdvance(CQtText::Message(widthText));
    pane->setFixedWidth(width + 2 * pane->margin() + kPanePadding);
    addPermanentWidget(pane);
    return pane;
}

void CMainStatusBar::SetFileCount(int count)
{
    m_pCountPane->setText(CQtText::Message(EMessageId::FileCount, {count}));
}

QString CMainStatusBar::FileCountText() const
{
    return m_pCountPane->text();
}

QStringList CMainStatusBar::LockPaneTexts() const
{
    return {m_pCapsPane->text(), m_pNumPane->text(), m_pScrollPane->text()};
}

void CMainStatusBar::UpdateLockPanes()
{
    std::optional<CLockKeyState::CState> state = CLockKeyState::Query();
    if (!state)
        state = m_keyEventState;
    auto show = [](QLabel* pane, bool on, EMessageId id)
    { pane->setText(on ? CQtText::Message(id) : QString()); };
    show(m_pCapsPane, state && state->bCaps, EMessageId::IndicatorCaps);
    show(m_pNumPane, state && state->bNum, EMessageId::IndicatorNum);
    show(m_pScrollPane, state && state->bScroll, EMessageId::IndicatorScroll);
}

bool CMainStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        watched->isWidgetType())
    {
        auto* key = static_cast<QKeyEvent*>(event);
        m_keyEventState = CLockKeyState::FromKeyModifiers(key->nativeModifiers());
        UpdateLockPanes();
    }
    return QStatusBar::eventFilter(watched, event);
}
