#include "platform/TextBuffer.h"

#include <algorithm>

TextBuffer::TextBuffer(FocusScope* pFocus)
    : m_pFocus(pFocus ? pFocus : &m_ownFocus)
{
}

const std::vector<long>& TextBuffer::LineStarts() const
{
    if (!m_bLinesValid) {
        m_lineStarts.assign(1, 0);
        for (size_t i = m_text.find('\n'); i != std::string::npos; i = m_text.find('\n', i + 1))
            m_lineStarts.push_back(static_cast<long>(i + 1));
        m_bLinesValid = true;
    }
    return m_lineStarts;
}

long TextBuffer::LineEnd(int line) const
{
    const auto& starts = LineStarts();
    if (line + 1 >= static_cast<int>(starts.size()))
        return static_cast<long>(m_text.size());
    long end = starts[line + 1] - 1; // the LF
    if (end > starts[line] && m_text[end - 1] == '\r')
        --end;
    return end;
}

int TextBuffer::GetLineCount() const
{
    return static_cast<int>(LineStarts().size());
}

std::string TextBuffer::GetLine(int line, int maxChars) const
{
    if (line < 0 || line >= GetLineCount() || maxChars <= 0)
        return {};
    const long start = LineStarts()[line];
    const long length = std::min<long>(LineEnd(line) - start, maxChars);
    return m_text.substr(start, length);
}

long TextBuffer::LineIndex(int line) const
{
    if (line < 0)
        line = LineFromChar(-1);
    if (line >= GetLineCount())
        return -1;
    return LineStarts()[line];
}

int TextBuffer::LineFromChar(long offset) const
{
    if (offset < 0)
        offset = m_selStart;
    const auto& starts = LineStarts();
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1;
}

long TextBuffer::LineLength(long offset) const
{
    if (offset >= 0) {
        const int line = LineFromChar(offset);
        return LineEnd(line) - LineStarts()[line];
    }
    const int first = LineFromChar(m_selStart);
    const int last = LineFromChar(m_selEnd);
    return (m_selStart - LineStarts()[first]) + std::max(0L, LineEnd(last) - m_selEnd);
}

void TextBuffer::GetSel(long& start, long& end) const
{
    start = m_selStart;
    end = m_selEnd;
}

void TextBuffer::SetSel(long start, long end)
{
    const long size = static_cast<long>(m_text.size());
    if (start < 0) // no selection: a caret at the end
        start = end = size;
    if (end < 0)
        end = size;
    start = std::clamp(start, 0L, size);
    end = std::clamp(end, 0L, size);
    m_selStart = std::min(start, end);
    m_selEnd = std::max(start, end);
}

std::string TextBuffer::GetSelText() const
{
    return m_text.substr(m_selStart, m_selEnd - m_selStart);
}

void TextBuffer::Clear()
{
    if (m_selStart == m_selEnd)
        return;
    m_text.erase(m_selStart, m_selEnd - m_selStart);
    m_selEnd = m_selStart;
    Changed();
}

void TextBuffer::TypeChar(char ch)
{
    const std::string typed = ch == '\r' ? std::string("\r\n") : std::string(1, ch);
    const long after = static_cast<long>(m_text.size()) - (m_selEnd - m_selStart) + static_cast<long>(typed.size());
    if (after > m_limit) {
        m_bRefused = true;
        return;
    }
    m_text.replace(m_selStart, m_selEnd - m_selStart, typed);
    m_selStart += static_cast<long>(typed.size());
    m_selEnd = m_selStart;
    Changed();
}

long TextBuffer::ReplaceSel(const std::string& text)
{
    const long room = m_limit - (static_cast<long>(m_text.size()) - (m_selEnd - m_selStart));
    const long count = std::clamp(static_cast<long>(text.size()), 0L, std::max(0L, room));
    m_bRefused = m_bRefused || count < static_cast<long>(text.size());
    m_text.replace(m_selStart, m_selEnd - m_selStart, text, 0, count);
    m_selStart += count;
    m_selEnd = m_selStart;
    Changed();
    return count;
}

void TextBuffer::SetText(std::string_view text)
{
    m_text = text;
    m_selStart = m_selEnd = 0;
    m_bLinesValid = false;
}

void TextBuffer::ConvertText(const std::function<std::string(std::string_view)>& convert)
{
    const std::string_view text = m_text;
    const auto newOffset = [&](long offset) { return static_cast<long>(convert(text.substr(0, offset)).size()); };
    const long start = newOffset(m_selStart);
    const long end = newOffset(m_selEnd);
    std::string converted = convert(text);
    // The limit counts characters, and the text's characters stay the same.
    m_limit += static_cast<long>(converted.size()) - static_cast<long>(m_text.size());
    m_text = std::move(converted);
    m_selStart = start;
    m_selEnd = end;
    m_bLinesValid = false;
}

void TextBuffer::Changed()
{
    m_bLinesValid = false;
    if (m_onChange)
        m_onChange();
}
