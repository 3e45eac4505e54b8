#pragma once

#include <QMainWindow>
#include <QUrl>

class QTextBrowser;

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

    QTextBrowser* m_pBrowser = nullptr;
    QUrl m_urlContents;
};
