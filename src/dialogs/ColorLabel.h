// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

// A text label with a text colour, a background colour and a font of its
// own. It starts in the colours and font of the dialog around it.
class CColorLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CColorLabel(QWidget* parent = nullptr);
    explicit CColorLabel(const QString& text, QWidget* parent = nullptr);

    // An invalid colour stands for the desktop's usual text colour.
    void SetLabelTextColor(const QColor& color);

    const QColor& LabelTextColor() const { return m_crText; }
    const QColor& LabelBackColor() const { return m_crBack; }
    const QFont& LabelFont() const { return m_font; }

protected:
    // Makes the label draw in the current colours and font.
    void ApplyLook();

    QColor m_crText;
    QColor m_crBack;
    QFont m_font;
};
