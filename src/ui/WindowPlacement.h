// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

#include <optional>
#include <string>
#include <string_view>

class CSettings;
class QWidget;

// Keeps a top-level window's normal size and position and its show state
// across runs, as one text value in the settings' empty section: ten
// numbers "flags,show,minX,minY,maxX,maxY,left,top,right,bottom" with the
// show state 1 normal, 2 minimised, 3 maximised, and the normal rectangle
// (the window's client area) relative to the work area's top-left corner.
class CWindowPlacement
{
public:
    // The ten stored numbers.
    struct CValue
    {
        unsigned m_nFlags = 0;
        unsigned m_nShowCmd = kShowNormal;
        int m_nMinX = -1;
        int m_nMinY = -1;
        int m_nMaxX = -1;
        int m_nMaxY = -1;
        int m_nLeft = 0;
        int m_nTop = 0;
        int m_nRight = 0;
        int m_nBottom = 0;

        bool operator==(const CValue&) const = default;
    };

    // What the restored position is measured against.
    struct CScreenMetrics
    {
        QRect m_rcWorkArea; // the screen less panels and task bars
        QSize m_szScreen;   // right and bottom edge of the desktop
        QSize m_szIcon;     // a large icon: how much of the window stays reachable
    };

    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;
    // Set in the flags of a minimised window that comes back maximised.
    static constexpr unsigned kRestoreToMaximized = 2;

    explicit CWindowPlacement(CSettings& settings) : m_settings(settings) {}
    virtual ~CWindowPlacement() = default;

    // The stored value of `key`; false (and `value` unchanged) when there
    // is none or it does not read as ten numbers.
    bool Load(CValue& value, const std::string& key) const;
    // Writes `value` as `key`; true when it reads back as written.
    bool Save(const CValue& value, const std::string& key);

    // Before the window is first shown: its stored normal size and
    // position and its show state. False, with nothing changed, when no
    // usable value is stored.
    bool Restore(QWidget& window, const std::string& key);
    bool Restore(QWidget& window, const std::string& key, const CScreenMetrics& screen);
    // When the window closes: its current placement.
    bool Save(const QWidget& window, const std::string& key);
    bool Save(const QWidget& window, const std::string& key, const CScreenMetrics& screen);

    static std::optional<CValue> Parse(std::string_view text);
    static std::string Format(const CValue& value);
    // The client rectangle to create the window with: the stored size, the
    // stored position moved by the work area's origin and kept an icon's
    // size inside the desktop's right and bottom edges. Empty when the
    // stored rectangle has no area.
    static QRect CreationRect(const CValue& value, const CScreenMetrics& screen);
    static Qt::WindowStates WindowState(unsigned showCmd);
    static CValue FromWindow(const QWidget& window, const CScreenMetrics& screen);
    static CScreenMetrics CurrentScreen();

private:
    CSettings& m_settings;
};
