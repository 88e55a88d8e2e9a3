#include <QFile>
#include <QPrinterInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "doc/CQuillboxDoc.h"
#include "platform/CommandIds.h"
#include "qt/HelpWindow.h"
#include "qt/QtPrinter.h"
#include "qt/QtSettings.h"
#include "qt/TextCodec.h"

// Printing, the program-wide settings and the help window.
class QtServicesTest : public QObject
{
    Q_OBJECT

    CQuillboxDoc m_doc { Services {} };
    TextCodec m_codec { &m_doc };

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    void printsAFolderToAPdfFileWithInchMargins()
    {
        QTemporaryDir dir;
        PrinterChoice choice;
        choice.GetPrinter().setOutputFormat(QPrinter::PdfFormat);
        choice.GetPrinter().setOutputFileName(dir.filePath(QStringLiteral("folder.pdf")));
        QtPrinter printer(choice, m_codec);
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "------ New Note 12/06/97 ------\r\nline " + std::to_string(i) + "\r\n";
        QCOMPARE(printer.PrintText(text, 1440), std::nullopt);
        const QMarginsF margins = choice.GetPrinter().pageLayout().margins(QPageLayout::Inch);
        QCOMPARE(margins, QMarginsF(1, 1, 1, 1));
        QFile pdf(dir.filePath(QStringLiteral("folder.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.count("/Type /Page\n") > 1);
    }

    void withoutAPrinterPrintingSaysSo()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has a printer");
        PrinterChoice choice;
        choice.GetPrinter().setOutputFormat(QPrinter::NativeFormat);
        choice.GetPrinter().setPrinterName(QString());
        QtPrinter printer(choice, m_codec);
        const auto message = printer.PrintText("text", 1440);
        QVERIFY(message);
        QVERIFY(message->find("Print Setup") != std::string::npos);
    }

    void settingsKeepStringsUnderTheProgramsKey()
    {
        QSettings probe(QStringLiteral("Harwick"), QStringLiteral("Quillbox1.0"));
        if (!probe.fileName().contains(QStringLiteral(".qttest")))
            QSKIP("the settings would go to the user's own configuration");
        probe.clear();
        probe.setValue(QStringLiteral("List"), QStringList({ "a", "b" }));
        probe.sync();
        QtSettings settings;
        QCOMPARE(settings.ReadString("Tutorial Prompt"), std::nullopt);
        QCOMPARE(settings.ReadString("List"), std::nullopt);
        settings.WriteString("Tutorial Prompt", "0");
        QCOMPARE(QtSettings().ReadString("Tutorial Prompt"), std::optional<std::string>("0"));
        probe.sync();
        QCOMPARE(probe.value(QStringLiteral("Tutorial Prompt")).toString(), QStringLiteral("0"));
        probe.clear();
    }

    void helpShowsTheTutorialPageForItsContext()
    {
        // The build puts the pages beside the test program, as beside the program itself.
        const QString folder = HelpWindow::PagesFolder();
        QVERIFY(!folder.isEmpty());
        HelpWindow help;
        help.ShowContext(cmd::TutorialHelpContext);
        QVERIFY(help.isVisible());
        QVERIFY(help.isWindow());
        QCOMPARE(help.source(), QUrl::fromLocalFile(folder + QStringLiteral("/tutorial.html")));
        help.ShowContents();
        QCOMPARE(help.source(), QUrl::fromLocalFile(folder + QStringLiteral("/index.html")));
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
