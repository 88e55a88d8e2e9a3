#pragma once

#include <optional>
#include <string>

// Prints a folder's text on the chosen printer at once, without a dialog.
class Printer
{
public:
    // Where printing goes: a printer, PDF files the user names for each print, or nowhere yet.
    enum class Destination
    {
        None,
        Printer,
        PdfFile,
    };

    virtual ~Printer() = default;
    virtual Destination GetDestination() const = 0;
    // The PDF file printed into last, or named in the print setup: the name to offer for the
    // next one. Empty when there is none.
    virtual std::string GetPdfPath() const = 0;
    // Prints into this PDF file, a path as the file choosers give it, until another is named.
    virtual void PrintToPdf(const std::string& path) = 0;
    // Returns what went wrong, for the user, or nothing when the text was printed.
    virtual std::optional<std::string> PrintText(const std::string& text, int marginTwips) = 0;
};
