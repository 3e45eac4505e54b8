#include "LockKeyState.h"

#include <QGuiApplication>

#if !defined(_WIN32)
#include <dlfcn.h>
#else
#include <windows.h>
#endif

namespace
{
#if !defined(_WIN32) && QT_CONFIG(xcb)
// The X library is loaded on first use rather than linked, so the program
// needs nothing of X11 beyond what Qt itself loads.
using FXkbGetIndicatorState = int (*)(void* display, unsigned deviceSpec, unsigned* state);
constexpr unsigned kXkbUseCoreKeyboard = 0x0100;
// The usual indicator order of X servers: Caps Lock, Num Lock, Scroll Lock.
constexpr unsigned kCapsBit = 1u << 0;
constexpr unsigned kNumBit = 1u << 1;
constexpr unsigned kScrollBit = 1u << 2;

FXkbGetIndicatorState IndicatorFunction()
{
    static FXkbGetIndicatorState function = []() -> FXkbGetIndicatorState
    {
        void* library = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
        if (!library)
            return nullptr;
        return reinterpret_cast<FXkbGetIndicatorState>(::dlsym(library, "XkbGetIndicatorState"));
    }();
    return function;
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
    FXkbGetIndicatorState getIndicators = IndicatorFunction();
    unsigned indicators = 0;
    if (!getIndicators || getIndicators(x11->display(), kXkbUseCoreKeyboard, &indicators) != 0)
        return std::nullopt;
    CState state;
    state.bCaps = (indicators & kCapsBit) != 0;
    state.bNum = (indicators & kNumBit) != 0;
    state.bScroll = (indicators & kScrollBit) != 0;
    return state;
#else
    return std::nullopt;
#endif
}
