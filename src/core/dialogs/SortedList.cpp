#include "dialogs/SortedList.h"

#include <algorithm>

#include "platform/NameOrder.h"

int SortedList::AddString(const std::string& text, long data)
{
    const auto at = std::upper_bound(m_lines.begin(), m_lines.end(), text, [](const std::string& t, const Line& line) {
        return CompareNoCase(t, line.text) < 0;
    });
    const int index = static_cast<int>(at - m_lines.begin());
    m_lines.insert(at, Line { text, data });
    if (m_nSel >= index)
        ++m_nSel;
    return index;
}

void SortedList::DeleteString(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    m_lines.erase(m_lines.begin() + index);
    if (m_nSel == index)
        m_nSel = -1;
    else if (m_nSel > index)
        --m_nSel;
}

void SortedList::ResetContent()
{
    m_lines.clear();
    m_nSel = -1;
}

void SortedList::SetCurSel(int index)
{
    m_nSel = (index >= 0 && index < GetCount()) ? index : -1;
}

int SortedList::FindStringExact(const std::string& text) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_lines[i].text == text)
            return i;
    }
    return -1;
}
