// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Shown while an add operation converts files: which files are being
// converted, how many are done of those queued so far, and a Cancel. The
// dialog never closes by itself from the keyboard or the close box: those
// ask for a cancel, and whoever runs the work closes it when it has ended.
class CRunProgressDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CRunProgressDlg(QWidget* parent = nullptr);

    bool IsCancelRequested() const { return m_bCancelRequested; }

    // Where a whole add operation stands: files done of those queued so
    // far, and the files being converted now (their names).
    void SetProgress(int done, int queued, const QStringList& converting);

    void reject() override;

signals:
    void CancelRequested();

private:
    QLabel* m_pFile = nullptr;
    QLabel* m_pDone = nullptr;
    QPushButton* m_pCancel = nullptr;
    bool m_bCancelRequested = false;
};
