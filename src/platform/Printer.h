#pragma once

#include <optional>
#include <string>

// Prints a folder's text on the chosen printer at once, without a dialog.
class Printer
{
public:
    virtual ~Printer() = default;
    // Returns what went wrong, for the user, or nothing when the text was printed.
    virtual std::optional<std::string> PrintText(const std::string& text, int marginTwips) = 0;
};
