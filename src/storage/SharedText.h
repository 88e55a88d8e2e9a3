#pragma once

#include <memory>
#include <string>
#include <string_view>

// A folder's text, never changed in place: a new text replaces the old one whole. A copy shares
// the bytes, so the notebook's state can be taken in a moment and written by another thread
// while the window goes on changing its folders. The bytes are a string of the text's own or a
// part of a larger block that several texts share (the texts of a notebook as it was read).
class SharedText
{
public:
    SharedText() = default;
    SharedText(std::string text)
    {
        if (text.empty())
            return;
        auto pText = std::make_shared<const std::string>(std::move(text));
        m_text = *pText;
        m_pOwner = std::move(pText);
    }
    SharedText(const char* text)
        : SharedText(std::string(text))
    {
    }
    // A text whose bytes `owner` keeps. bStoredAsIs: the text is known to be stored in a
    // notebook byte for byte as it stands, as a text read from one in a single run is.
    SharedText(std::shared_ptr<const void> owner, std::string_view text, bool bStoredAsIs = false)
        : m_pOwner(text.empty() ? nullptr : std::move(owner))
        , m_text(m_pOwner ? text : std::string_view())
        , m_bStoredAsIs(bStoredAsIs)
    {
    }

    std::string_view View() const { return m_text; }
    operator std::string_view() const { return m_text; }
    bool empty() const { return m_text.empty(); }
    size_t size() const { return m_text.size(); }
    // Whether saving may copy the text without looking at its lines; false when not known.
    bool IsStoredAsIs() const { return m_bStoredAsIs; }
    void clear() { *this = {}; }

    friend bool operator==(const SharedText& a, std::string_view b) { return a.m_text == b; }

private:
    std::shared_ptr<const void> m_pOwner;
    std::string_view m_text;
    bool m_bStoredAsIs = false;
};
