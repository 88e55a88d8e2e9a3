#pragma once

#include <string>
#include <string_view>

// One JSON object of --json's output: one line, ASCII only (every other character escaped), so
// that it reads the same on any terminal and in any locale. A notebook's bytes are kept exactly,
// as ripgrep's --json keeps them: {"text": "..."} when they are UTF-8, else {"bytes": "BASE64"}.
class JsonObject
{
public:
    // A string the program makes, in UTF-8: a type, an encoding's name.
    JsonObject& String(std::string_view key, std::string_view utf8);
    // Bytes as {"text": ...} or {"bytes": ...}.
    JsonObject& Data(std::string_view key, std::string_view bytes);
    JsonObject& Number(std::string_view key, long long value);
    JsonObject& Bool(std::string_view key, bool bValue);
    JsonObject& Null(std::string_view key);
    // A value already in JSON, such as an array of objects.
    JsonObject& Json(std::string_view key, std::string_view json);

    // The object, without a line break.
    std::string Text() const;

private:
    JsonObject& Key(std::string_view key);

    std::string m_members;
};
