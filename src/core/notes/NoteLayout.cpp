#include <algorithm>
#include <cstdio>
#include <ctime>

#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "platform/Clock.h"
#include "platform/EditControl.h"

namespace {

// A header line is recognised within its first 500 characters.
constexpr int kHeaderScanChars = 500;

} // namespace

bool CQuillboxEditView::IsHeaderLine(std::string_view line, char chSeparator)
{
    const char pattern[] = { chSeparator, chSeparator, chSeparator, chSeparator, chSeparator, chSeparator };
    return line.substr(0, kHeaderScanChars).find(std::string_view(pattern, sizeof pattern)) != std::string_view::npos;
}

void CQuillboxEditView::ScanHeaderLines()
{
    m_headerLines.clear();
    const int count = m_edit.GetLineCount();
    for (int i = 0; i < count; ++i) {
        if (IsHeaderLine(m_edit.GetLine(i, kHeaderScanChars), m_pDoc->GetSeparator()))
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

std::string CQuillboxEditView::NoteHeaderLine() const
{
    const std::string separators(6, m_pDoc->GetSeparator());
    std::string line = separators;
    if (m_pDoc->HeaderHasText())
        line += " New Note ";
    // "%m/%d/%y " and "%I:%M%p " as in the C locale, whatever locale the program runs in.
    const std::tm now = m_pDoc->GetServices().pClock->Now();
    char buffer[32];
    if (m_pDoc->HeaderHasDate()) {
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d ", now.tm_mon + 1, now.tm_mday, now.tm_year % 100);
        line += buffer;
    }
    if (m_pDoc->HeaderHasTime()) {
        const int hour = now.tm_hour % 12 == 0 ? 12 : now.tm_hour % 12;
        std::snprintf(buffer, sizeof buffer, "%02d:%02d%s ", hour, now.tm_min, now.tm_hour < 12 ? "AM" : "PM");
        line += buffer;
    }
    return line + separators;
}

void CQuillboxEditView::InsertNoteHeader()
{
    auto type = [this](const std::string& text) {
        for (char ch : text)
            m_edit.TypeChar(ch);
    };
    if (m_edit.LineLength(-1) != 0)
        type("\r");
    type(NoteHeaderLine());
    type("\r");
}
