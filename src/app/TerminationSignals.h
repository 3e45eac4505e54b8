// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <array>
#include <memory>

class QSocketNotifier;

// Turns the signals that ask a process to end (SIGTERM, SIGINT, SIGHUP)
// into a Qt signal, so that a program with no window to close can still end
// through its event loop and give back what it holds. Only one object may
// exist at a time; the signals' earlier handling comes back when it goes.
// Where the system has no such signals it never emits.
class CTerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

    // Whether the signals are being caught.
    bool IsActive() const { return m_bActive; }

signals:
    void Received(int signalNumber);

private:
    void Install();
    void Restore();
    void OnReadable();

    bool m_bActive = false;
    std::array<int, 2> m_pipe{-1, -1};
    std::unique_ptr<QSocketNotifier> m_pNotifier;
    struct CSavedActions;
    std::unique_ptr<CSavedActions> m_pSaved;
};
