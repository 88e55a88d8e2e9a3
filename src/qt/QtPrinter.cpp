#include "qt/QtPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QTextDocument>

#include "qt/TextCodec.h"
#include "qt/FilePaths.h"

PrinterChoice::PrinterChoice()
    : m_printer(QPrinter::HighResolution)
{
}

bool PrinterChoice::RunPrintSetup(QWidget* parent)
{
    QPrintDialog dialog(&m_printer, parent);
    dialog.setObjectName(QStringLiteral("printSetup"));
    dialog.setWindowTitle(QtPrinter::tr("Print Setup"));
    return dialog.exec() == QDialog::Accepted;
}

QtPrinter::QtPrinter(PrinterChoice& choice, TextCodec& codec)
    : m_choice(choice)
    , m_codec(codec)
{
}

Printer::Destination QtPrinter::GetDestination() const
{
    // Without a printer Qt's printer is a PDF printer with no file: nowhere yet.
    const QPrinter& printer = m_choice.GetPrinter();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName().isEmpty() ? Destination::None : Destination::PdfFile;
    return printer.printerName().isEmpty() ? Destination::None : Destination::Printer;
}

std::string QtPrinter::GetPdfPath() const
{
    const QPrinter& printer = m_choice.GetPrinter();
    return printer.outputFormat() == QPrinter::PdfFormat ? EncodePath(printer.outputFileName()) : std::string();
}

void QtPrinter::PrintToPdf(const std::string& path)
{
    QPrinter& printer = m_choice.GetPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(DecodePath(path));
}

std::optional<std::string> QtPrinter::PrintText(const std::string& text, int marginTwips)
{
    QPrinter& printer = m_choice.GetPrinter();
    const bool bPdf = printer.outputFormat() == QPrinter::PdfFormat;
    if (bPdf ? printer.outputFileName().isEmpty() : printer.printerName().isEmpty())
        return QtPrinter::tr("No printer is available.").toStdString();
    const double inches = marginTwips / 1440.0;
    printer.setPageMargins(QMarginsF(inches, inches, inches, inches), QPageLayout::Inch);

    const QString plain = m_codec.Decode(text);
    QTextDocument document;
    // The editor's font, with its letters kept apart: a ligature such as "fi" would make the
    // words of a PDF impossible to search.
    QFont font = QApplication::font("QPlainTextEdit");
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setPlainText(plain);
    document.documentLayout()->setPaintDevice(&printer);
    document.setDocumentMargin(0);
    const QSizeF page(printer.width(), printer.height());
    document.setPageSize(page);

    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString where = bPdf ? printer.outputFileName() : printer.printerName();
        return QtPrinter::tr("The folder could not be printed on %1.").arg(where).toStdString();
    }
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0)
            printer.newPage();
        const QRectF area(QPointF(0, i * page.height()), page);
        painter.save();
        painter.translate(0, -area.top());
        document.drawContents(&painter, area);
        painter.restore();
    }
    painter.end();
    return std::nullopt;
}
