#pragma once

#include <optional>

// Whether Caps Lock, Num Lock and Scroll Lock are on.
struct LockState
{
    bool bCaps = false;
    bool bNum = false;
    bool bScroll = false;
};

// The keyboard's lock state as the display server keeps it (X11, through XKB), or nothing on a
// platform that does not tell (Wayland, offscreen).
std::optional<LockState> ReadKeyboardLocks();
