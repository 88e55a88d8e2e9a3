#include "qt/QtPrinter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QTextDocument>

#include "qt/TextCodec.h"

PrinterChoice::PrinterChoice()
    : m_printer(QPrinter::HighResolution)
{
}

bool PrinterChoice::RunPrintSetup(QWidget* parent)
{
    QPrintDialog dialog(&m_printer, parent);
    dialog.setObjectName(QStringLiteral("printSetup"));
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    return dialog.exec() == QDialog::Accepted;
}

QtPrinter::QtPrinter(PrinterChoice& choice, TextCodec& codec)
    : m_choice(choice)
    , m_codec(codec)
{
}

std::optional<std::string> QtPrinter::PrintText(const std::string& text, int marginTwips)
{
    QPrinter& printer = m_choice.GetPrinter();
    const bool bPdf = printer.outputFormat() == QPrinter::PdfFormat;
    if (bPdf ? printer.outputFileName().isEmpty() : printer.printerName().isEmpty())
        return "No printer is available. Choose a printer or a PDF file with Print Setup.";
    const double inches = marginTwips / 1440.0;
    printer.setPageMargins(QMarginsF(inches, inches, inches, inches), QPageLayout::Inch);

    QString plain = m_codec.Decode(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextDocument document;
    document.setPlainText(plain);
    document.documentLayout()->setPaintDevice(&printer);
    document.setDocumentMargin(0);
    const QSizeF page(printer.width(), printer.height());
    document.setPageSize(page);

    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString where = bPdf ? printer.outputFileName() : printer.printerName();
        return "The folder could not be printed on " + where.toStdString() + ".";
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
