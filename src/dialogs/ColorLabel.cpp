// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorLabel.h"

#include <QApplication>
#include <QPalette>

namespace
{
QColor DefaultTextColor()
{
    return QApplication::palette().color(QPalette::WindowText);
}
} // namespace

CColorLabel::CColorLabel(QWidget* parent) : CColorLabel(QString(), parent) {}

CColorLabel::CColorLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_crText(DefaultTextColor()),
      m_crBack(QApplication::palette().color(QPalette::Window)), m_font(QApplication::font())
{
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    ApplyLook();
}

void CColorLabel::SetLabelTextColor(const QColor& color)
{
    m_crText = color.isValid() ? color : DefaultTextColor();
    ApplyLook();
    update();
}

void CColorLabel::ApplyLook()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, m_crText);
    colours.setColor(QPalette::Window, m_crBack);
    setPalette(colours);
    setFont(m_font);
}
