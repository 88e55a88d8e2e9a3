#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The window's catalogues: quillbox_LANG.qm in the data folder's "translations", found as the
// help pages are (from the install prefix, or beside the program in the build tree).
QString TranslationsFolder();

// Installs the catalogue of the first of `languages` ("de-DE", "de", "en-XA") that has one,
// trying each without its territory too; English when none fits. Qt's own translation of its
// standard buttons comes with it where Qt has one, and the words of src/words follow the
// window's catalogue. Called again, it replaces the catalogues it installed before.
void InstallTranslations(const QStringList& languages = QLocale::system().uiLanguages());

// The language whose catalogue is installed: "de", "en_XA", or "en" for the program's English.
QString InstalledLanguage();
