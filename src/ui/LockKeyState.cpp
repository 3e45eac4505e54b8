// SPDX-License-Identifier: GPL-3.0-or-later
#include "LockKeyState.h"

#include <QGuiApplication>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace
{
constexpr quint32 kLockModifier = 1u << 1;
constexpr quint32 kMod2Modifier = 1u << 4;

#if !defined(_WIN32) && QT_CONFIG(xcb)
// The X library is loaded on first use rather than linked, so the program
// needs nothing of X11 beyond what Qt itself loads.
using FInternAtom = unsigned long (*)(void* display, const char* name, int onlyIfExists);
using FGetNamedIndicator = int (*)(void* display, unsigned long name, int* index, int* state,
                                   void* map, int* real);

struct CXkbFunctions
{
    FInternAtom internAtom = nullptr;
    FGetNamedIndicator getNamedIndicator = nullptr;
};

const CXkbFunctions& XkbFunctions()
{
    static const CXkbFunctions functions = []
    {
        CXkbFunctions loaded;
        void* library = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        if (!library)
            return loaded;
        loaded.internAtom = reinterpret_cast<FInternAtom>(::dlsym(library, "XInternAtom"));
        loaded.getNamedIndicator =
            reinterpret_cast<FGetNamedIndicator>(::dlsym(library, "XkbGetNamedIndicator"));
        return loaded;
    }();
    return functions;
}

// Indicators are found by name: their numbers differ between keymaps. A
// name the server does not know is a lock without an indicator, so off.
bool IndicatorOn(void* display, const CXkbFunctions& xkb, const char* name)
{
    unsigned long atom = xkb.internAtom(display, name, 1);
    int on = 0;
    return atom != 0 && xkb.getNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) &&
           on != 0;
}
#endif
} // namespace

std::optional<CLockKeyState::CState> CLockKeyState::Query()
{
#if defined(_WIN32)
    CState state;
    state.bCaps = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    state.bNum = (::GetKeyState(VK_NUMLOCK) & 1) != 0;
    state.bScroll = (::GetKeyState(VK_SCROLL) & 1) != 0;
    return state;
#elif QT_CONFIG(xcb)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return std::nullopt;
    const CXkbFunctions& xkb = XkbFunctions();
    if (!xkb.internAtom || !xkb.getNamedIndicator)
        return std::nullopt;
    CState state;
    state.bCaps = IndicatorOn(x11->display(), xkb, "Caps Lock");
    state.bNum = IndicatorOn(x11->display(), xkb, "Num Lock");
    state.bScroll = IndicatorOn(x11->display(), xkb, "Scroll Lock");
    return state;
#else
    return std::nullopt;
#endif
}

CLockKeyState::CState CLockKeyState::FromKeyModifiers(quint32 nativeModifiers)
{
    CState state;
    state.bCaps = (nativeModifiers & kLockModifier) != 0;
    state.bNum = (nativeModifiers & kMod2Modifier) != 0;
    return state;
}
