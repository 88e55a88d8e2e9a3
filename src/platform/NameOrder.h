#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

// The order the tree control and the sorted list boxes give names: alphabetical without regard
// to case (ASCII letters folded), ties broken by the bytes so the order is total.
int CompareNoCase(std::string_view a, std::string_view b);

// Puts `items` in the order of their names, `name(item)`, keeping equal names in the order they
// come. A notebook holds siblings in name order or its reverse, as its last save wrote them, or
// in a few such runs (numbered names whose digits grow): each run is taken as it stands, turned
// round when it runs backwards, and neighbouring runs are merged, so that costs no full sort.
template <typename Item, typename Name>
void SortByName(std::vector<Item>& items, Name name)
{
    const auto before = [&](const Item& a, const Item& b) { return CompareNoCase(name(a), name(b)) < 0; };
    // Where each run ends. A run backwards must fall strictly, so turning it round keeps equal
    // names in their order.
    std::vector<size_t> ends;
    for (size_t start = 0; start < items.size();) {
        size_t end = start + 1;
        if (end < items.size() && before(items[end], items[start])) {
            while (end < items.size() && before(items[end], items[end - 1]))
                ++end;
            std::reverse(items.begin() + static_cast<std::ptrdiff_t>(start), items.begin() + static_cast<std::ptrdiff_t>(end));
        } else {
            while (end < items.size() && !before(items[end], items[end - 1]))
                ++end;
        }
        ends.push_back(end);
        start = end;
    }
    const auto at = [&](size_t i) { return items.begin() + static_cast<std::ptrdiff_t>(i); };
    while (ends.size() > 1) {
        std::vector<size_t> merged;
        for (size_t i = 1; i < ends.size(); i += 2) {
            std::inplace_merge(at(i >= 2 ? ends[i - 2] : 0), at(ends[i - 1]), at(ends[i]), before);
            merged.push_back(ends[i]);
        }
        if (ends.size() % 2 != 0)
            merged.push_back(ends.back());
        ends = std::move(merged);
    }
}

// Where a new name goes among `count` siblings in name order (`nameAt(i)` the i-th one's name):
// after the last sibling that does not sort behind it, so equal names keep the order they came.
template <typename NameAt>
size_t SortedPosition(size_t count, std::string_view name, NameAt nameAt)
{
    size_t low = 0;
    size_t at = count;
    while (low < at) {
        const size_t middle = (low + at) / 2;
        if (CompareNoCase(name, nameAt(middle)) < 0)
            at = middle;
        else
            low = middle + 1;
    }
    return at;
}

// The same for new names already in name order, all at once: for each, how many of the
// siblings go before it, as adding them one after another would place them.
template <typename NameAt>
std::vector<size_t> SortedPositions(size_t count, const std::vector<std::string_view>& names, NameAt nameAt)
{
    std::vector<size_t> positions;
    positions.reserve(names.size());
    size_t at = 0;
    for (const std::string_view name : names) {
        while (at < count && CompareNoCase(name, nameAt(at)) >= 0)
            ++at;
        positions.push_back(at);
    }
    return positions;
}
