#pragma once

// Which headless control holds the keyboard focus; a notebook's editor and tree share one, so
// giving the focus to one takes it from the other.
struct FocusScope
{
    const void* pOwner = nullptr;
};
