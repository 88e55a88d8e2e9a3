#pragma once

#include <string_view>

// True when the bytes are UTF-8 throughout: no overlong forms, surrogates or values beyond
// U+10FFFF, and no sequence cut short.
bool IsValidUtf8(std::string_view bytes);
