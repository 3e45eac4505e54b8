// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageIds.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QStyle>
#include <QUrl>

class QTextBrowser;
class QToolBar;

// The program's help window: the help pages with Back, Forward and
// Contents. Closing it only hides it, and it never keeps the program
// running once the main window has closed.
class CHelpViewer : public QMainWindow
{
    Q_OBJECT

public:
    explicit CHelpViewer(QWidget* parent = nullptr);

    // Shows the window, in front, at the given table of contents.
    void ShowContents(const QUrl& contents);

    QTextBrowser& Browser() const { return *m_pBrowser; }
    const QUrl& ContentsUrl() const { return m_urlContents; }

private slots:
    void OnContents();
    void OnSourceChanged();

private:
    void BuildToolBar();
    // A button that goes through the browser's history, enabled only while
    // there is somewhere to go.
    void AddHistoryButton(QToolBar& bar, QStyle::StandardPixmap icon, EMessageId text,
                          QKeySequence::StandardKey key, void (QTextBrowser::*go)(),
                          void (QTextBrowser::*available)(bool));

    QTextBrowser* m_pBrowser = nullptr;
    QUrl m_urlContents;
};
