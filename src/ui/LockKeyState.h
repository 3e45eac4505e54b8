#pragma once

#include <optional>

// Whether Caps Lock, Num Lock and Scroll Lock are on, where the windowing
// system tells it: on X11 through the keyboard extension's indicators. On
// Wayland a client is not told the lock state outside key events, so there
// is nothing to read.
class CLockKeyState
{
public:
    struct CState
    {
        bool bCaps = false;
        bool bNum = false;
        bool bScroll = false;
    };

    // The current state, or nothing when the platform does not tell it.
    static std::optional<CState> Query();
};
