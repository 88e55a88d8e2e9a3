#pragma once

#include <memory>
#include <string>
#include <string_view>

// A folder's text, never changed in place: a new text replaces the old one whole. A copy shares
// the bytes, so the notebook's state can be taken in a moment and written by another thread
// while the window goes on changing its folders.
class SharedText
{
public:
    SharedText() = default;
    SharedText(std::string text)
        : m_pText(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text)))
    {
    }
    SharedText(const char* text)
        : SharedText(std::string(text))
    {
    }

    const std::string& Str() const { return m_pText ? *m_pText : Empty(); }
    operator const std::string&() const { return Str(); }
    operator std::string_view() const { return Str(); }
    bool empty() const { return !m_pText; }
    size_t size() const { return Str().size(); }
    void clear() { m_pText.reset(); }

    friend bool operator==(const SharedText& a, std::string_view b) { return a.Str() == b; }

private:
    static const std::string& Empty()
    {
        static const std::string empty;
        return empty;
    }

    std::shared_ptr<const std::string> m_pText;
};
