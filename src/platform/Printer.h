#pragma once

#include <optional>
#include <string>

// Prints a folder's text on the chosen printer at once, without a dialog.
class Printer
{
public:
    virtual ~Printer() = default;
    // Whether printing has somewhere to go: a printer, or a PDF file chosen before.
    virtual bool HasDestination() const = 0;
    // Prints into this PDF file, a path as the file choosers give it, from now on.
    virtual void PrintToPdf(const std::string& path) = 0;
    // Returns what went wrong, for the user, or nothing when the text was printed.
    virtual std::optional<std::string> PrintText(const std::string& text, int marginTwips) = 0;
};
