#pragma once

#include <string>
#include <vector>

// A list box's content: lines kept sorted without regard to case, each with a number the
// owner chooses, and at most one selected line.
class SortedList
{
public:
    // Inserts in sorted position (after equal lines) and returns the line's index.
    int AddString(const std::string& text, long data = 0);
    void DeleteString(int index);
    void ResetContent();
    int GetCount() const { return static_cast<int>(m_lines.size()); }
    const std::string& GetText(int index) const { return m_lines.at(index).text; }
    long GetItemData(int index) const { return m_lines.at(index).data; }
    // -1 when no line is selected.
    int GetCurSel() const { return m_nSel; }
    void SetCurSel(int index);
    int FindStringExact(const std::string& text) const;

private:
    struct Line
    {
        std::string text;
        long data;
    };
    std::vector<Line> m_lines;
    int m_nSel = -1;
};
