// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include "platform/Settings.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace
{
// Reads one number as the C library's scanf reads %d or %u: blanks skipped,
// an optional sign, at least one digit. Numbers out of range do not count.
bool ScanNumber(std::string_view text, size_t& pos, bool isUnsigned, long long& number)
{
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    long long magnitude = 0;
    auto [end, error] = std::from_chars(text.data() + pos, text.data() + text.size(), magnitude);
    if (error != std::errc() || magnitude < 0)
        return false;
    pos = static_cast<size_t>(end - text.data());
    long long limit =
        isUnsigned ? UINT32_MAX : (negative ? -static_cast<long long>(INT32_MIN) : INT32_MAX);
    if (magnitude > limit)
        return false;
    number = negative ? -magnitude : magnitude;
    return true;
}
} // namespace

std::optional<CWindowPlacement::CValue> CWindowPlacement::Parse(std::string_view text)
{
    long long numbers[10] = {};
    size_t pos = 0;
    for (int i = 0; i < 10; ++i)
    {
        if (i > 0)
        {
            if (pos >= text.size() || text[pos] != ',')
                return std::nullopt;
            ++pos;
        }
        if (!ScanNumber(text, pos, i < 2, numbers[i]))
            return std::nullopt;
    }
    // Whatever follows the tenth number is of no concern.
    CValue value;
    value.m_nFlags = static_cast<unsigned>(numbers[0]);
    value.m_nShowCmd = static_cast<unsigned>(numbers[1]);
    value.m_nMinX = static_cast<int>(numbers[2]);
    value.m_nMinY = static_cast<int>(numbers[3]);
    value.m_nMaxX = static_cast<int>(numbers[4]);
    value.m_nMaxY = static_cast<int>(numbers[5]);
    value.m_nLeft = static_cast<int>(numbers[6]);
    value.m_nTop = static_cast<int>(numbers[7]);
    value.m_nRight = static_cast<int>(numbers[8]);
    value.m_nBottom = static_cast<int>(numbers[9]);
    return value;
}

std::string CWindowPlacement::Format(const CValue& value)
{
    char text[128];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", value.m_nFlags,
                  value.m_nShowCmd, value.m_nMinX, value.m_nMinY, value.m_nMaxX, value.m_nMaxY,
                  value.m_nLeft, value.m_nTop, value.m_nRight, value.m_nBottom);
    return text;
}

bool CWindowPlacement::Load(CValue& value, const std::string& key) const
{
    std::optional<CValue> stored = Parse(m_settings.GetString("", key));
    if (!stored)
        return false;
    value = *stored;
    return true;
}

bool CWindowPlacement::Save(const CValue& value, const std::string& key)
{
    std::string text = Format(value);
    m_settings.SetString("", key, text);
    return m_settings.GetString("", key) == text;
}

QRect CWindowPlacement::CreationRect(const CValue& value, const CScreenMetrics& screen)
{
    // Computed wide so that absurd stored numbers cannot overflow.
    long long width = static_cast<long long>(value.m_nRight) - value.m_nLeft;
    long long height = static_cast<long long>(value.m_nBottom) - value.m_nTop;
    // A rectangle turned inside out would give a window that cannot be seen.
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return QRect();
    long long x = static_cast<long long>(value.m_nLeft) + screen.m_rcWorkArea.left();
    long long y = static_cast<long long>(value.m_nTop) + screen.m_rcWorkArea.top();
    // Only an upper bound: a window pushed off the left or top edge stays
    // there, but one left beyond the right or bottom edge is pulled back
    // until an icon's worth of it shows.
    if (!screen.m_szScreen.isEmpty())
    {
        x = std::min<long long>(x, screen.m_szScreen.width() - screen.m_szIcon.width());
        y = std::min<long long>(y, screen.m_szScreen.height() - screen.m_szIcon.height());
    }
    x = std::max<long long>(x, INT32_MIN);
    y = std::max<long long>(y, INT32_MIN);
    return QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                 static_cast<int>(height));
}

Qt::WindowStates CWindowPlacement::WindowState(unsigned showCmd)
{
    switch (showCmd)
    {
    case kShowMinimized:
    case 6: // minimise
    case 7: // shown minimised without activation
        return Qt::WindowMinimized;
    case kShowMaximized:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

bool CWindowPlacement::Restore(QWidget& window, const std::string& key)
{
    return Restore(window, key, CurrentScreen());
}

bool CWindowPlacement::Restore(QWidget& window, const std::string& key,
                               const CScreenMetrics& screen)
{
    CValue value;
    if (!Load(value, key))
        return false;
    QRect rect = CreationRect(value, screen);
    if (rect.isEmpty())
        return false;
    window.setGeometry(rect);
    // Set before the first show, the window opens in this state, and its
    // normal geometry is the one just set.
    window.setWindowState(WindowState(value.m_nShowCmd));
    return true;
}

bool CWindowPlacement::Save(const QWidget& window, const std::string& key)
{
    return Save(window, key, CurrentScreen());
}

bool CWindowPlacement::Save(const QWidget& window, const std::string& key,
                            const CScreenMetrics& screen)
{
    return Save(FromWindow(window, screen), key);
}

CWindowPlacement::CValue CWindowPlacement::FromWindow(const QWidget& window,
                                                      const CScreenMetrics& screen)
{
    CValue value;
    Qt::WindowStates state = window.windowState();
    if (state & Qt::WindowMinimized)
    {
        value.m_nShowCmd = kShowMinimized;
        if (state & Qt::WindowMaximized)
            value.m_nFlags = kRestoreToMaximized;
    }
    else if (state & Qt::WindowMaximized)
    {
        value.m_nShowCmd = kShowMaximized;
    }
    QRect normal = window.normalGeometry();
    if (!normal.isValid())
        normal = window.geometry();
    normal.translate(-screen.m_rcWorkArea.topLeft());
    value.m_nLeft = normal.left();
    value.m_nTop = normal.top();
    value.m_nRight = normal.left() + normal.width();
    value.m_nBottom = normal.top() + normal.height();
    return value;
}

CWindowPlacement::CScreenMetrics CWindowPlacement::CurrentScreen()
{
    CScreenMetrics metrics;
    int icon = QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
    metrics.m_szIcon = QSize(icon, icon);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return metrics;
    metrics.m_rcWorkArea = screen->availableGeometry();
    // The clamp is against the whole desktop, so a window left on a second
    // screen to the right or below is not pulled back onto the first.
    QRect desktop = screen->virtualGeometry();
    metrics.m_szScreen = QSize(desktop.x() + desktop.width(), desktop.y() + desktop.height());
    return metrics;
}
