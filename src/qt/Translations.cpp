#include "qt/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include "words/Translate.h"

namespace {

QTranslator g_program;
QTranslator g_qt;
QString g_language = QStringLiteral("en");

std::string TranslateWords(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text).toStdString();
}

// "de-DE" and "de_DE" as "de_DE", then "de".
QStringList Candidates(const QString& language)
{
    QString name = language;
    name.replace(u'-', u'_');
    QStringList candidates { name };
    while (name.contains(u'_')) {
        name.truncate(name.lastIndexOf(u'_'));
        candidates << name;
    }
    return candidates;
}

// Qt takes the layout direction from the catalogues: "RTL" in a right-to-left language mirrors
// the window. Marked here so the program's catalogue says it, as Qt's own do.
[[maybe_unused]] const char* const kLayoutDirection[]
    = QT_TRANSLATE_NOOP3("QGuiApplication", "QT_LAYOUT_DIRECTION",
                         "Translate this string to the string 'LTR' in left-to-right languages or to 'RTL' in "
                         "right-to-left languages (such as Hebrew and Arabic) to get proper widget layout.");

} // namespace

QString TranslationsFolder()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& folder : { QStringLiteral(QUILLBOX_INSTALLED_TRANSLATIONS), QStringLiteral("translations") }) {
        const QString path = QDir::cleanPath(programDir.filePath(folder));
        if (QFileInfo::exists(path + QStringLiteral("/quillbox_en.qm")))
            return path;
    }
    return QDir::cleanPath(programDir.filePath(QStringLiteral("translations")));
}

void InstallTranslations(const QStringList& languages)
{
    QCoreApplication::removeTranslator(&g_qt);
    QCoreApplication::removeTranslator(&g_program);
    const QString folder = TranslationsFolder();
    g_language = QStringLiteral("en");
    bool bFound = false;
    for (const QString& language : languages) {
        for (const QString& candidate : Candidates(language)) {
            // QTranslator::load would try shorter names itself; each candidate is tried as it is.
            const QString name = QStringLiteral("quillbox_") + candidate;
            if (QFileInfo::exists(folder + u'/' + name + QStringLiteral(".qm")) && g_program.load(name, folder)) {
                g_language = candidate;
                bFound = true;
                break;
            }
        }
        if (bFound)
            break;
    }
    // English has a catalogue too: the plural forms of the texts that show a number.
    if (!bFound && !g_program.load(QStringLiteral("quillbox_en"), folder))
        qWarning("The English catalogue is missing from %s.", qPrintable(folder));
    if (g_qt.load(QStringLiteral("qtbase_") + g_language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&g_qt);
    QCoreApplication::installTranslator(&g_program);
    SetTranslator(&TranslateWords);
}

QString InstalledLanguage()
{
    return g_language;
}
