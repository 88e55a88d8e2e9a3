#pragma once

#include <string>

#include "platform/EditControl.h"

// Editor texts with the selection written into them: "|" is the caret, "[" and "]" enclose a
// selection. The note texts of these tests use none of the three characters.

// Loads the text into the editor as a folder's text is loaded, then sets the marked selection.
inline void LoadMarked(EditControl& edit, const std::string& marked)
{
    std::string text;
    long start = -1;
    long end = -1;
    for (char ch : marked) {
        const long at = static_cast<long>(text.size());
        if (ch == '|')
            start = end = at;
        else if (ch == '[')
            start = at;
        else if (ch == ']')
            end = at;
        else
            text += ch;
    }
    edit.SetText(text);
    edit.SetSel(start < 0 ? 0 : start, end < 0 ? 0 : end);
}

// The editor's text with its selection marked.
inline std::string Marked(const EditControl& edit)
{
    long start = 0;
    long end = 0;
    edit.GetSel(start, end);
    std::string text = edit.GetText();
    if (start == end)
        return text.insert(start, "|");
    return text.insert(end, "]").insert(start, "[");
}
