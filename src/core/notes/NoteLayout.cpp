#include <algorithm>

#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "format/NoteText.h"
#include "platform/EditControl.h"

void CQuillboxEditView::ScanHeaderLines()
{
    m_headerLines.clear();
    const int count = m_edit.GetLineCount();
    for (int i = 0; i < count; ++i) {
        if (IsHeaderLine(m_edit.GetLine(i, static_cast<int>(kHeaderScanChars)), m_pDoc->GetSeparator()))
            m_headerLines.push_back(i);
    }
}

bool CQuillboxEditView::FindNoteAtCursor(long& start, long& end)
{
    ScanHeaderLines();
    const int cursorLine = m_edit.LineFromChar(-1);
    if (m_headerLines.empty() || m_headerLines.front() > cursorLine)
        return false;
    const auto next = std::upper_bound(m_headerLines.begin(), m_headerLines.end(), cursorLine);
    start = m_edit.LineIndex(*(next - 1));
    if (next == m_headerLines.end()) {
        const int last = m_edit.GetLineCount() - 1;
        end = m_edit.LineIndex(last) + m_edit.LineLength(m_edit.LineIndex(last));
    } else {
        end = m_edit.LineIndex(*next);
    }
    return true;
}

void CQuillboxEditView::InsertNoteHeader()
{
    auto type = [this](const std::string& text) {
        for (char ch : text)
            m_edit.TypeChar(ch);
    };
    if (m_edit.LineLength(-1) != 0)
        type("\r");
    type(m_pDoc->NoteHeaderLine());
    type("\r");
}
