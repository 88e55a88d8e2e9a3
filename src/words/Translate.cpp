#include "words/Translate.h"

#include <vector>

namespace {

Translator g_translator = nullptr;

} // namespace

void SetTranslator(Translator translator)
{
    g_translator = translator;
}

std::string Tr(const char* context, const char* text)
{
    return g_translator ? g_translator(context, text) : std::string(text);
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> args)
{
    const std::vector<std::string_view> values(args);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '%' && next >= '1' && next <= '9' && size_t(next - '1') < values.size()) {
            out += values[size_t(next - '1')];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
