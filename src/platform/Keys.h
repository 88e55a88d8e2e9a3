#pragma once

// The keys the views react to; every other key is Key::Other.
enum class Key
{
    Other,
    Shift,
    Return,
    Delete,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
};
