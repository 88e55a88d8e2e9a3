#pragma once

#include <string>

// The main frame's assigned-keys text, which the active notebook's document writes.
class KeysText
{
public:
    virtual ~KeysText() = default;
    virtual void SetKeysText(const std::string& text) = 0;
};

// Holds the text, for tests and the command-line tool.
class KeysTextHolder : public KeysText
{
public:
    void SetKeysText(const std::string& text) override { m_text = text; }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
