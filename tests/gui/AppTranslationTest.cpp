// The window in other languages: the user's languages choose the catalogue, a right-to-left
// language mirrors the window, and no language changes a saved notebook.

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "platform/CommandIds.h"
#include "platform/SettingsStore.h"
#include "words/MessageWords.h"
#include "qt/Translations.h"

namespace {

// The bytes of a notebook with a note and a folder made by keys, saved, in the language given.
QByteArray SavedBytes(const QString& language, const QString& path)
{
    InstallTranslations({ language });
    MemorySettings settings;
    AppWindow app(settings);
    CChildFrame* pChild = app.NewNotebook();
    if (!QTest::qWaitFor([&app] { return QApplication::focusWidget() == app.Tree(); }))
        return {};
    WhenModal([](QWidget* pDialog) {
        Find<QLineEdit>(pDialog, "inputText")->setText(QStringLiteral("Ideas"));
        Click(pDialog, "okButton");
    });
    QTest::keyClick(app.Tree(), Qt::Key_W, Qt::ControlModifier);
    QTest::keyClicks(app.Editor(), QStringLiteral("first words"));
    QTest::keyClick(app.Editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(app.Editor(), QStringLiteral("second words"));
    if (!pChild->GetDocument().OnSaveDocument(path.toStdString()).ok)
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class AppTranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { InstallTranslations({ QStringLiteral("en") }); }
    void theUsersLanguageChoosesTheCatalogue();
    void aRightToLeftLanguageMirrorsTheWindow();
    void noLanguageChangesTheSavedBytes();
};

void AppTranslationTest::theUsersLanguageChoosesTheCatalogue()
{
    const struct
    {
        QStringList languages;
        QString chosen;
    } cases[] = {
        { { QStringLiteral("de-DE") }, QStringLiteral("de") },
        { { QStringLiteral("de_AT"), QStringLiteral("en") }, QStringLiteral("de") },
        { { QStringLiteral("en-US"), QStringLiteral("de") }, QStringLiteral("en") },
        { { QStringLiteral("xx"), QStringLiteral("de") }, QStringLiteral("de") },
        { { QStringLiteral("xx-YY") }, QStringLiteral("en") },
        { {}, QStringLiteral("en") },
    };
    for (const auto& c : cases) {
        InstallTranslations(c.languages);
        QCOMPARE(InstalledLanguage(), c.chosen);
    }
    InstallTranslations({ QStringLiteral("de") });
    QCOMPARE(QCoreApplication::translate("Command", "&Save"), QStringLiteral("S&peichern"));
    // The words of src/words follow the window's catalogue.
    QCOMPARE(QString::fromStdString(DescribeSaveChanges("a.not")), QStringLiteral("Änderungen an a.not speichern?"));
}

void AppTranslationTest::aRightToLeftLanguageMirrorsTheWindow()
{
    InstallTranslations({ QStringLiteral("ar_XB") });
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    MemorySettings settings;
    AppWindow app(settings);
    app.NewNotebook();
    QTRY_COMPARE(QApplication::focusWidget(), app.Tree());
    QCOMPARE(app.frame.layoutDirection(), Qt::RightToLeft);
    GrabAs(&app.frame, QStringLiteral("rtl-main"));
    InstallTranslations({ QStringLiteral("en") });
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
}

void AppTranslationTest::noLanguageChangesTheSavedBytes()
{
    QTemporaryDir dir;
    const QByteArray english = SavedBytes(QStringLiteral("en"), dir.filePath(QStringLiteral("en.not")));
    const QByteArray german = SavedBytes(QStringLiteral("de"), dir.filePath(QStringLiteral("de.not")));
    QVERIFY(english.contains("New Note"));
    QVERIFY(english.contains("Begin Folder"));
    QCOMPARE(german, english);
}

QTEST_MAIN(AppTranslationTest)
#include "AppTranslationTest.moc"
