// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

// Shift+F1: the pointer turns into a question mark and the next click on
// any of the program's windows asks for help instead of doing what it
// would do; Escape leaves the mode without help.
class CContextHelpMode : public QObject
{
    Q_OBJECT

public:
    explicit CContextHelpMode(QObject* parent = nullptr);
    ~CContextHelpMode() override;

    void Enter();
    void Leave();
    bool IsActive() const { return m_bActive; }

signals:
    void HelpRequested();
    void ActiveChanged(bool active);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_bActive = false;
};
