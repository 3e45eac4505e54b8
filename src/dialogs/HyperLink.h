// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColorLabel.h"

#include <QPointer>

#include <functional>

class QWindow;

// A label that is a link: blue, underlined, with a pointing hand over it.
// It takes the pressed colour when the left button goes down on it and keeps
// it until the button is next released over it; every such release opens
// the label's text with the desktop once, whatever comes of it. The link does
// not hold on to the mouse: a press that began elsewhere and ends over the
// link opens it too, and a press on it that ends elsewhere opens nothing.
class CHyperLink : public CColorLabel
{
    Q_OBJECT

public:
    // Hands the link's text to whatever opens it.
    using FOpener = std::function<void(const QString&)>;

    explicit CHyperLink(QWidget* parent = nullptr);
    explicit CHyperLink(const QString& text, QWidget* parent = nullptr);
    ~CHyperLink() override;

    // The desktop's opener unless replaced; tests replace it.
    void SetOpener(FOpener opener) { m_fnOpen = std::move(opener); }
    static void OpenWithDesktop(const QString& text);

    const QColor& NormalColor() const { return m_crNormal; }
    const QColor& PressedColor() const { return m_crPressed; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnReleaseOverLink();
    bool IsOverLink(const QPointF& globalPos) const;

    const QColor m_crNormal{0, 0, 255};
    const QColor m_crPressed{128, 0, 255};
    FOpener m_fnOpen;
    // The button went down on the link, so the release comes to the link
    // itself wherever it happens.
    bool m_bButtonDownHere = false;
    QPointer<QWindow> m_pWatchedWindow;
};
