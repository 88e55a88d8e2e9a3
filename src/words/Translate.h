#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/Translatable.h"

// The words' way into the user's language. The words are made from English texts marked with
// Tr (lupdate and xgettext read it as a translation with a context); each front end hands in its
// own catalogues: the window Qt's, quillbox-cli gettext's. Without a translator, English.
using Translator = std::string (*)(const char* context, const char* text);
void SetTranslator(Translator translator);

// `text` in the user's language.
std::string Tr(const char* context, const char* text);

// `text` with %1 ... %9 replaced by `args` in one pass, so an argument holding "%2" stays as it is.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> args);
