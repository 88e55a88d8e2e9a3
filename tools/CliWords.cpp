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

// The catalogues, found from the program's own folder as the window finds its own: under the
// install prefix's locale folder, or in "locale" beside the program in the build tree.
std::string LocaleFolder()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    for (const char* folder : { QUILLBOX_INSTALLED_LOCALE, "locale" }) {
        const std::filesystem::path path = (program.parent_path() / folder).lexically_normal();
        if (std::filesystem::is_directory(path, error))
            return path.string();
    }
    return {};
}

} // namespace

void InitCliWords()
{
    // Only the messages follow the user's locale: they come as UTF-8 and are shown as any text
    // is; nothing else the program does depends on the locale.
    std::setlocale(LC_MESSAGES, "");
    if (const std::string folder = LocaleFolder(); !folder.empty())
        bindtextdomain(kDomain, folder.c_str());
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
