#pragma once

#include <string_view>

// The order the tree control and the sorted list boxes give names: alphabetical without regard
// to case (ASCII letters folded), ties broken by the bytes so the order is total.
int CompareNoCase(std::string_view a, std::string_view b);
