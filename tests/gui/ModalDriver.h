// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the next modal dialog of type T as a person would: it waits until
// the dialog is the active modal widget, then runs `action` on it. If no
// such dialog comes, it stops waiting after a while and closes whatever
// modal dialog is up, so that a broken test fails instead of hanging.
class CModalDriver : public QObject
{
public:
    template <class T> void Expect(std::function<void(T*)> action)
    {
        m_bHandled = false;
        m_nPolls = 0;
        m_timer.disconnect();
        QObject::connect(&m_timer, &QTimer::timeout, this,
                         [this, action]
                         {
                             auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
                             if (dialog && dialog->isVisible())
                             {
                                 m_timer.stop();
                                 m_bHandled = true;
                                 action(dialog);
                             }
                             else if (++m_nPolls > kMaxPolls)
                             {
                                 GiveUp();
                             }
                         });
        m_timer.start(kPollMs);
    }

    bool Handled() const { return m_bHandled; }

private:
    static constexpr int kPollMs = 10;
    static constexpr int kMaxPolls = 2000;

    void GiveUp()
    {
        m_timer.stop();
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->done(QDialog::Rejected);
    }

    QTimer m_timer;
    bool m_bHandled = false;
    int m_nPolls = 0;
};
