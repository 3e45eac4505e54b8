// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The four-button question about adding a folder's contents. exec() gives
// an EFolderAnswer value: 1 Yes (also Enter), 1000 Yes to All, 2 No (also
// Escape and the close box), 1001 No to All.
class CYesNoAllDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CYesNoAllDlg(const QString& question, QWidget* parent = nullptr);

    const QString& Question() const { return m_strQuestion; }

    void reject() override;

private:
    void CreateControls();
    void LayOut();
    QPushButton* AddButton(const QString& text, const char* name, int answer);
    // Lets a long path wrap at its separators instead of widening the box.
    static QString Breakable(const QString& text);

    QString m_strQuestion;
    QLabel* m_pQuestion = nullptr;
    QPushButton* m_pYes = nullptr;
    QPushButton* m_pYesToAll = nullptr;
    QPushButton* m_pNo = nullptr;
    QPushButton* m_pNoToAll = nullptr;
};
