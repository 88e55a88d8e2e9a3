#pragma once

#include <optional>
#include <string_view>

#include "storage/FileAccess.h"
#include "storage/TerminalText.h"
#include "storage/TextEncoding.h"

// Everything quillbox-cli prints, on standard output and standard error alike, goes through
// TextOutput. Where a person reads it (a terminal, unless the command was given --raw) text is
// shown as TerminalText shows it, in the character set of the user's locale (LC_CTYPE), so that
// what a notebook, a file name or a label holds cannot drive the terminal; into a pipe or a file
// it is written as it is.

enum class Stream
{
    Out,
    Err,
};

// Standard output could not take what was written: the command stops, and the program says so
// and fails with the command's status for trouble.
struct OutputFailed
{
    int error = 0;
};

// --raw: a terminal gets the bytes, as a pipe or a file does.
void SetRawOutput(bool bRaw);
// For what git shows a person wherever the command's stream goes (a merge driver's standard
// error, a diff driver's standard output in git's pager): text there is shown as on a terminal
// always, --raw or not.
void ShowAsOnTerminal(Stream stream);
// Whether the stream is a terminal that gets text as shown (not --raw): where colour may go.
bool IsTerminal(Stream stream);

// Text in the encoding `kind` written to standard output, shown for a terminal where it is one.
class TextOutput
{
public:
    explicit TextOutput(TextEncoding::Kind kind);
    // Throws OutputFailed when it cannot write.
    void Put(std::string_view bytes);
    // The program's own escape sequence (a colour), written as it is, after what waited.
    void PutEscape(std::string_view sequence);
    // Writes what waited for more bytes: called after the last ones.
    void End();
    // Put as a ChunkSink.
    ChunkSink Sink();

private:
    std::optional<TerminalText> m_terminal;
};

// Writes to standard output; throws OutputFailed when it cannot.
void WriteBytes(std::string_view bytes);
// Whole text in the encoding `kind` to standard output, shown as TextOutput shows it.
void WriteText(std::string_view bytes, TextEncoding::Kind kind);
// Whole text in the encoding `kind` to standard error in one write, shown for a terminal where
// it is one (or always, see ShowAsOnTerminal); unchecked, as it carries the messages about
// failures.
void WriteError(std::string_view bytes, TextEncoding::Kind kind);
// The program's own UTF-8 text (help, the version) to standard output.
void Write(std::string_view utf8);
