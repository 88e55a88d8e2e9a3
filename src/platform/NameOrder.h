#pragma once

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

// The order the tree control and the sorted list boxes give names: alphabetical without regard
// to case (ASCII letters folded), ties broken by the bytes so the order is total.
int CompareNoCase(std::string_view a, std::string_view b);

// Puts `items` in the order of their names, `name(item)`, keeping equal names in the order they
// come. A notebook holds siblings in name order or its reverse, as its last save wrote them:
// both are put in order without a sort.
template <typename Item, typename Name>
void SortByName(std::vector<Item>& items, Name name)
{
    const auto before = [&](const Item& a, const Item& b) { return CompareNoCase(name(a), name(b)) < 0; };
    const auto after = [&](const Item& a, const Item& b) { return before(b, a); };
    if (std::adjacent_find(items.begin(), items.end(), std::not_fn(after)) == items.end())
        std::reverse(items.begin(), items.end());
    else if (!std::is_sorted(items.begin(), items.end(), before))
        std::stable_sort(items.begin(), items.end(), before);
}
