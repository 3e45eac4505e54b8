// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class CHyperLink;
class QLabel;

// The About box: the program's name, the version this build was made as, a
// link to the maker's web site and how to reach the maker. Nothing is
// stored; OK and Esc close it.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kWebAddress = "https://www.orrinval.example/zelto";

    explicit CAboutDlg(QWidget* parent = nullptr);

    CHyperLink& Link() const { return *m_pLink; }
    QString VersionText() const;

private:
    void BuildControls();
    void ShowVersion();
    QLabel* MakeText(const QString& text, const char* name);

    QLabel* m_pVersion = nullptr;
    CHyperLink* m_pLink = nullptr;
};
