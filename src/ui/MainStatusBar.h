// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LockKeyState.h"

#include <QStatusBar>

#include <optional>

class QLabel;
enum class EMessageId : int;

// The main window's status bar: the prompt pane (menu and toolbar prompts,
// else "For Help, press F1"), the file count at the fixed width of
// "<*space holder*>", and "CAP", "NUM", "SCRL" while those locks are on,
// where the platform tells it.
class CMainStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    // How often the lock keys are looked at; the platform sends no event
    // when they change while another program has the keyboard.
    static constexpr int kLockPollMilliseconds = 500;

    explicit CMainStatusBar(QWidget* parent = nullptr);
    ~CMainStatusBar() override;

    void SetFileCount(int count);
    QString FileCountText() const;
    // Texts of the lock panes ("CAP", "NUM", "SCRL", or empty).
    QStringList LockPaneTexts() const;
    void UpdateLockPanes();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddPane(EMessageId widthText, const QString& name);

    QLabel* m_pIdlePane;
    QLabel* m_pCountPane;
    QLabel* m_pCapsPane;
    QLabel* m_pNumPane;
    QLabel* m_pScrollPane;
    // Where the platform cannot be asked, what the last key event told.
    std::optional<CLockKeyState::CState> m_keyEventState;
};
