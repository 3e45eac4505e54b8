// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <memory>

class CCancelFlag;
class CConversionMonitor;
class CRunProgressDlg;
class QEventLoop;
class QTimer;
class QWidget;

// The waits of one add operation for its conversions, with the user
// interface alive. One progress dialog with one Cancel serves the whole
// operation: it appears once the operation has gone on for a moment and
// stays until the operation ends. Before it appears no input is taken, as
// behind a busy window.
class CConversionWait : public QObject
{
    Q_OBJECT

public:
    // Operations that end sooner than this never show the dialog.
    static constexpr std::chrono::milliseconds kProgressDelay{300};
    // The dialog is brought up to date at most this often: files can end
    // hundreds of times a second, and laying out its texts for each would
    // cost more than many a file.
    static constexpr std::chrono::milliseconds kProgressUpdateInterval{200};

    explicit CConversionWait(QObject* parent = nullptr);
    ~CConversionWait() override;

    void Wait(const CConversionMonitor& monitor, CCancelFlag& cancel, QWidget* dialogParent);
    // From any thread.
    void Wake();
    void EndOperation();

    CRunProgressDlg* Dialog() const { return m_pDialog.get(); }

private:
    void Check();
    void ShowDialog();
    void UpdateDialog();

    std::unique_ptr<CRunProgressDlg> m_pDialog;
    QElapsedTimer m_operationClock;
    QElapsedTimer m_sinceDialogUpdate;
    // Brings the dialog up to date after a change that came too soon.
    QTimer* m_pDialogUpdateTimer;
    QEventLoop* m_pLoop = nullptr;
    const CConversionMonitor* m_pMonitor = nullptr;
    CCancelFlag* m_pCancel = nullptr;
    QPointer<QWidget> m_pDialogParent;
    std::atomic<bool> m_bWakePending{false};
};
