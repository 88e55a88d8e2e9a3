#pragma once

#include <QCoreApplication>
#include <QPrinter>

#include "platform/Printer.h"

class QWidget;
class TextCodec;

// The printer the whole program prints on, as File > Print Setup last chose it, or the PDF
// file printed into last.
class PrinterChoice
{
public:
    PrinterChoice();

    // Lets the user choose a printer, or a PDF file; true when the choice was confirmed.
    bool RunPrintSetup(QWidget* parent);
    QPrinter& GetPrinter() { return m_printer; }
    const QPrinter& GetPrinter() const { return m_printer; }

private:
    QPrinter m_printer;
};

// Prints a folder's text on the chosen printer at once, with the given margins and no dialog.
class QtPrinter : public Printer
{
    Q_DECLARE_TR_FUNCTIONS(QtPrinter)

public:
    QtPrinter(PrinterChoice& choice, TextCodec& codec);

    Destination GetDestination() const override;
    std::string GetPdfPath() const override;
    void PrintToPdf(const std::string& path) override;
    std::optional<std::string> PrintText(const std::string& text, int marginTwips) override;

private:
    PrinterChoice& m_choice;
    TextCodec& m_codec;
};
