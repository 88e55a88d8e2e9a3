#include "CliWords.h"

#include <clocale>
#include <filesystem>
#include <libintl.h>
#include <system_error>

#include "words/Translate.h"

namespace {

constexpr const char* kDomain = "quillbox-cli";

// The words of src/words name their context as gettext's msgctxt does: "CONTEXT\4TEXT".
std::string TranslateWords(const char* context, const char* text)
{
    const std::string key = std::string(context) + '\004' + text;
    const char* translated = dgettext(kDomain, key.c_str());
    return translated == key.c_str() ? std::string(text) : std::string(translated);
}

// The catalogues: installed under the prefix the program is installed in, or built beside it.
std::string LocaleFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return QUILLBOX_LOCALEDIR;
    const std::filesystem::path beside = program.parent_path() / "locale";
    return std::filesystem::is_directory(beside, error) ? beside.string() : std::string(QUILLBOX_LOCALEDIR);
}

} // namespace

void InitCliWords()
{
    // Only the messages follow the user's locale: they come as UTF-8 and are shown as any text
    // is; nothing else the program does depends on the locale.
    std::setlocale(LC_MESSAGES, "");
    bindtextdomain(kDomain, LocaleFolder().c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    SetTranslator(&TranslateWords);
}

std::string CliText(const char* text)
{
    return dgettext(kDomain, text);
}

std::string CliPlural(const char* singular, const char* plural, unsigned long n)
{
    return dngettext(kDomain, singular, plural, n);
}
