// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewer.h"

#include "dialogs/QtText.h"

#include <QAction>
#include <QKeySequence>
#include <QScrollBar>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

CHelpViewer::CHelpViewer(QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(CQtText::Message(EMessageId::HelpCaption));
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setObjectName(QStringLiteral("helpBrowser"));
    // Pages on the web go to the desktop's browser; the help's own pages
    // stay in this window.
    m_pBrowser->setOpenExternalLinks(true);
    setCentralWidget(m_pBrowser);
    BuildToolBar();
    connect(m_pBrowser, &QTextBrowser::sourceChanged, this, &CHelpViewer::OnSourceChanged);
    resize(780, 580);
}

void CHelpViewer::BuildToolBar()
{
    QToolBar* bar = addToolBar(CQtText::Message(EMessageId::HelpNavigationTitle));
    bar->setObjectName(QStringLiteral("helpNavigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    AddHistoryButton(*bar, QStyle::SP_ArrowBack, EMessageId::HelpBackButton, QKeySequence::Back,
                     &QTextBrowser::backward, &QTextBrowser::backwardAvailable);
    AddHistoryButton(*bar, QStyle::SP_ArrowForward, EMessageId::HelpForwardButton,
                     QKeySequence::Forward, &QTextBrowser::forward,
                     &QTextBrowser::forwardAvailable);

    QAction* contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                       CQtText::Message(EMessageId::HelpContentsButton), this,
                                       &CHelpViewer::OnContents);
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
}

void CHelpViewer::AddHistoryButton(QToolBar& bar, QStyle::StandardPixmap icon, EMessageId text,
                                   QKeySequence::StandardKey key, void (QTextBrowser::*go)(),
                                   void (QTextBrowser::*available)(bool))
{
    QAction* action =
        bar.addAction(style()->standardIcon(icon), CQtText::Message(text), m_pBrowser, go);
    action->setShortcut(key);
    action->setEnabled(false);
    connect(m_pBrowser, available, action, &QAction::setEnabled);
}

void CHelpViewer::ShowContents(const QUrl& contents)
{
    m_urlContents = contents;
    OnContents();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void CHelpViewer::OnContents()
{
    if (m_pBrowser->source() == m_urlContents)
        m_pBrowser->verticalScrollBar()->setValue(0);
    else
        m_pBrowser->setSource(m_urlContents);
}

void CHelpViewer::OnSourceChanged()
{
    QString page = m_pBrowser->documentTitle();
    setWindowTitle(page.isEmpty()
                       ? CQtText::Message(EMessageId::HelpCaption)
                       : CQtText::Message(EMessageId::HelpPageCaption, {CQtText::ToText(page)}));
}
