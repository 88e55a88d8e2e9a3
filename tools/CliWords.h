#pragma once

#include <string>

// quillbox-cli's words in the user's language, through gettext: the catalogue "quillbox-cli"
// in the system's locale folder (share/locale), or in "locale" beside the program in the build
// tree. Only messages change; what the commands print as their output never does.

// Takes the language from LANGUAGE, LC_ALL, LC_MESSAGES and LANG, and hands the words of
// src/words the same catalogue.
void InitCliWords();

// Marks a text for the catalogue where it is kept, to be shown through CliText.
#define CLI_TEXT_NOOP(text) text

// A message in the user's language; xgettext finds the texts by these names.
std::string CliText(const char* text);
// The form of a message that suits the number `n`: "%1 argument" or "%1 arguments" in English.
std::string CliPlural(const char* singular, const char* plural, unsigned long n);
