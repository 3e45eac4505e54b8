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

    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                   CQtText::Message(EMessageId::HelpBackButton), m_pBrowser,
                                   &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);

    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                      CQtText::Message(EMessageId::HelpForwardButton), m_pBrowser,
                                      &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    QAction* contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                       CQtText::Message(EMessageId::HelpContentsButton), this,
                                       &CHelpViewer::OnContents);
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
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
