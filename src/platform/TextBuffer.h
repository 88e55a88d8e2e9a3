#pragma once

#include <utility>
#include <vector>

#include "platform/EditControl.h"
#include "platform/FocusScope.h"

// A headless editor control: a text with CR LF line breaks and a selection. Offsets are byte
// offsets into the text; each CR LF-terminated line is one line (a bare LF also ends a line).
class TextBuffer : public EditControl
{
public:
    explicit TextBuffer(FocusScope* pFocus = nullptr);

    int GetLineCount() const override;
    std::string GetLine(int line, int maxChars) const override;
    long LineIndex(int line) const override;
    long LineLength(long offset) const override;
    int LineFromChar(long offset) const override;

    void GetSel(long& start, long& end) const override;
    void SetSel(long start, long end) override;
    std::string GetSelText() const override;
    void Clear() override;
    void TypeChar(char ch) override;
    long ReplaceSel(const std::string& text) override;

    std::string GetText() const override { return m_text; }
    void SetText(std::string_view text) override;
    void LimitText(long maxChars) override { m_limit = maxChars; }
    long GetLimitText() const override { return m_limit; }
    void ConvertText(const std::function<std::string(std::string_view)>& convert) override;

    bool HasFocus() const override { return m_pFocus->pOwner == this; }
    void SetFocus() override { m_pFocus->pOwner = this; }
    void SetChangeHandler(std::function<void()> handler) override { m_onChange = std::move(handler); }

    // Whether typing or a replacement was cut short by the limit since the last call.
    bool TakeRefused() { return std::exchange(m_bRefused, false); }

private:
    const std::vector<long>& LineStarts() const;
    long LineEnd(int line) const;
    void Changed();

    std::string m_text;
    long m_selStart = 0;
    long m_selEnd = 0;
    long m_limit = 32767;
    FocusScope m_ownFocus;
    FocusScope* m_pFocus;
    std::function<void()> m_onChange;
    mutable std::vector<long> m_lineStarts;
    mutable bool m_bLinesValid = false;
    bool m_bRefused = false;
};
