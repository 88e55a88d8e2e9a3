#include "app/KeyboardLocks.h"

#include <QGuiApplication>

// Xlib's macros (KeyPress, None, Bool ...) would clash with Qt's names: this file holds only
// the X11 side.
#include <X11/XKBlib.h>

namespace {

bool IndicatorOn(Display* pDisplay, const char* name)
{
    const Atom atom = XInternAtom(pDisplay, name, True);
    Bool bOn = False;
    return atom != None && XkbGetNamedIndicator(pDisplay, atom, nullptr, &bOn, nullptr, nullptr) && bOn;
}

} // namespace

std::optional<LockState> ReadKeyboardLocks()
{
    const auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* pDisplay = pX11 ? pX11->display() : nullptr;
    if (!pDisplay)
        return std::nullopt;
    return LockState { IndicatorOn(pDisplay, "Caps Lock"), IndicatorOn(pDisplay, "Num Lock"), IndicatorOn(pDisplay, "Scroll Lock") };
}
