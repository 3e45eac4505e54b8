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
    QEventLoop* m_pLoop = nullptr;
    const CConversionMonitor* m_pMonitor = nullptr;
    CCancelFlag* m_pCancel = nullptr;
    QPointer<QWidget> m_pDialogParent;
    std::atomic<bool> m_bWakePending{false};
};
