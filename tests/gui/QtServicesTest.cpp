#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "QtNotebook.h"
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
            text += "------ New Note 12/06/97 ------\r\nline " + std::to_string(i) + ": find the office files\r\n";
        QCOMPARE(printer.PrintText(text, 1440), std::nullopt);
        const QMarginsF margins = choice.GetPrinter().pageLayout().margins(QPageLayout::Inch);
        QCOMPARE(margins, QMarginsF(1, 1, 1, 1));
        QFile pdf(dir.filePath(QStringLiteral("folder.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.count("/Type /Page\n") > 1);

        // The words can be found in the PDF: no letters joined into ligatures.
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QProcess extract;
        extract.start(pdftotext, { pdf.fileName(), QStringLiteral("-") });
        QVERIFY(extract.waitForFinished());
        const QString words = QString::fromUtf8(extract.readAllStandardOutput());
        QVERIFY2(words.contains(QStringLiteral("line 0: find the office files")), qPrintable(words.left(200)));
        QCOMPARE(words.count(QStringLiteral("find the office files")), 200);
    }

    void withoutAPrinterPrintingSaysSo()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has a printer");
        PrinterChoice choice;
        choice.GetPrinter().setOutputFormat(QPrinter::NativeFormat);
        choice.GetPrinter().setPrinterName(QString());
        QtPrinter printer(choice, m_codec);
        QCOMPARE(printer.GetDestination(), Printer::Destination::None);
        QCOMPARE(printer.PrintText("text", 1440), std::optional<std::string>("No printer is available."));
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

    void helpWindowGoesBackForwardHomeAndClosesByKey()
    {
        // The build puts the pages beside the test program, as beside the program itself.
        const QString folder = HelpWindow::PagesFolder();
        QVERIFY(!folder.isEmpty());
        HelpWindow help;
        QTextBrowser& browser = help.GetBrowser();
        auto* pBack = help.findChild<QAction*>(QStringLiteral("helpBack"));
        auto* pForward = help.findChild<QAction*>(QStringLiteral("helpForward"));
        auto* pHome = help.findChild<QAction*>(QStringLiteral("helpHome"));
        QVERIFY(pBack && pForward && pHome);
        help.ShowContext(cmd::TutorialHelpContext);
        QVERIFY(help.isVisible() && help.isWindow());
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QCOMPARE(browser.source(), QUrl::fromLocalFile(folder + QStringLiteral("/tutorial.html")));
        QVERIFY(!pBack->isEnabled());

        pHome->trigger();
        QCOMPARE(browser.source(), QUrl::fromLocalFile(folder + QStringLiteral("/index.html")));
        QVERIFY(pBack->isEnabled());
        QTest::keyClick(&browser, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(browser.source().fileName(), QStringLiteral("tutorial.html"));
        QVERIFY(pForward->isEnabled());
        pForward->trigger();
        QCOMPARE(browser.source().fileName(), QStringLiteral("index.html"));
        Grab(&help);

        QTest::keyClick(&browser, Qt::Key_Escape);
        QVERIFY(!help.isVisible());
        help.ShowContents();
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QTest::keyClick(&browser, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(!help.isVisible());
    }
};

QTEST_MAIN(QtServicesTest)
#include "QtServicesTest.moc"
