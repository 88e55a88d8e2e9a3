#include "CliOutput.h"

#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool g_bRawOutput = false;
bool g_bShownAlways[2] = { false, false };

int DescriptorOf(Stream stream)
{
    return stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO;
}

// The character set of the user's locale, for text shown on a terminal; none for UTF-8. The
// locale is taken only for that, so that nothing else the program does depends on it.
const TerminalText::CharWriter& LocaleCharWriter()
{
    static const TerminalText::CharWriter writer = []() -> TerminalText::CharWriter {
        std::setlocale(LC_CTYPE, "");
        if (std::string_view(::nl_langinfo(CODESET)) == "UTF-8")
            return {};
        return [](char32_t ch, std::string& out) {
            char bytes[MB_LEN_MAX];
            std::mbstate_t state {};
            const size_t length = std::wcrtomb(bytes, static_cast<wchar_t>(ch), &state);
            if (length == static_cast<size_t>(-1))
                return false;
            out.append(bytes, length);
            return true;
        };
    }();
    return writer;
}

std::optional<TerminalText> TerminalFor(Stream stream, TextEncoding::Kind kind)
{
    if (!g_bShownAlways[static_cast<int>(stream)] && !IsTerminal(stream))
        return std::nullopt;
    return TerminalText(kind, LocaleCharWriter());
}

} // namespace

void SetRawOutput(bool bRaw)
{
    g_bRawOutput = bRaw;
}

void ShowAsOnTerminal(Stream stream)
{
    g_bShownAlways[static_cast<int>(stream)] = true;
}

bool IsTerminal(Stream stream)
{
    return !g_bRawOutput && ::isatty(DescriptorOf(stream));
}

void WriteBytes(std::string_view bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        throw OutputFailed { errno };
}

TextOutput::TextOutput(TextEncoding::Kind kind)
    : m_terminal(TerminalFor(Stream::Out, kind))
{
}

void TextOutput::Put(std::string_view bytes)
{
    if (m_terminal)
        WriteBytes(m_terminal->Show(bytes));
    else
        WriteBytes(bytes);
}

void TextOutput::PutEscape(std::string_view sequence)
{
    End();
    WriteBytes(sequence);
}

void TextOutput::End()
{
    if (m_terminal)
        WriteBytes(m_terminal->Finish());
}

ChunkSink TextOutput::Sink()
{
    return [this](std::string_view chunk) {
        Put(chunk);
        return true;
    };
}

void WriteText(std::string_view bytes, TextEncoding::Kind kind)
{
    TextOutput out(kind);
    out.Put(bytes);
    out.End();
}

void WriteError(std::string_view bytes, TextEncoding::Kind kind)
{
    std::string shown;
    if (std::optional<TerminalText> terminal = TerminalFor(Stream::Err, kind)) {
        shown = terminal->Show(bytes);
        shown += terminal->Finish();
        bytes = shown;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
}

void Write(std::string_view utf8)
{
    WriteText(utf8, TextEncoding::Kind::Utf8);
}
