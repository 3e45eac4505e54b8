// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

// Whether Caps Lock, Num Lock and Scroll Lock are on. On Windows the system
// is asked; on X11 the keyboard extension's named indicators are read. A
// Wayland client is told nothing outside its key events, so there the state
// can only be read from the modifiers that come with each key event.
class CLockKeyState
{
public:
    struct CState
    {
        bool bCaps = false;
        bool bNum = false;
        bool bScroll = false;

        bool operator==(const CState&) const = default;
    };

    // The current state, or nothing when the platform does not tell it.
    static std::optional<CState> Query();

    // The state told by a key event's native modifiers under the X keyboard
    // conventions that X11 and Wayland share: the Lock modifier is Caps
    // Lock and Mod2 is Num Lock. Scroll Lock is no modifier and reads as
    // off.
    static CState FromKeyModifiers(quint32 nativeModifiers);
};
