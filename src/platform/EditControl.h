#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

// The operations the note logic needs of the editor control. Offsets and line numbers are the
// control's own; texts cross as the notebook's bytes with CR LF line breaks.
class EditControl
{
public:
    virtual ~EditControl() = default;

    // Number of lines, at least 1; a text ending in CR LF has an empty last line.
    virtual int GetLineCount() const = 0;
    // At most maxChars characters of line `line`, without its line break.
    virtual std::string GetLine(int line, int maxChars) const = 0;
    // Offset of the first character of line `line`.
    virtual long LineIndex(int line) const = 0;
    // With an offset: the length of the line holding it. With -1: the number of unselected
    // characters on the lines that hold the selection.
    virtual long LineLength(long offset) const = 0;
    // The line holding `offset`; -1 means the start of the selection.
    virtual int LineFromChar(long offset) const = 0;

    virtual void GetSel(long& start, long& end) const = 0;
    // An end of -1 selects to the end of the text; a start of -1 puts a caret at the end.
    virtual void SetSel(long start, long end) = 0;
    // The selected characters, line breaks as CR LF.
    virtual std::string GetSelText() const = 0;
    // Removes the selection; the caret stays at its old start.
    virtual void Clear() = 0;
    // Types one character as a user would: replaces the selection, moves the caret on, is
    // refused at the length limit. '\r' ends the line (CR LF in the text).
    virtual void TypeChar(char ch) = 0;

    // Inserts text at the caret as a paste would: it replaces the selection, and what goes
    // beyond the limit is dropped. Returns the number of bytes inserted.
    virtual long ReplaceSel(const std::string& text) = 0;

    virtual std::string GetText() const = 0;
    // Replaces the whole text, whatever the limit; the caret goes to the start. Loading a
    // folder's text is not an edit: the change handler is not called.
    virtual void SetText(std::string_view text) = 0;
    virtual void LimitText(long maxChars) = 0;
    virtual long GetLimitText() const = 0;
    // The notebook's bytes changed encoding: held bytes are converted, the selection staying
    // on the same characters. `convert` must turn each prefix of a text into a prefix of its
    // result (true of Windows-1252 to UTF-8). A control that holds characters keeps them.
    virtual void ConvertText(const std::function<std::string(std::string_view)>& convert) = 0;

    virtual bool HasFocus() const = 0;
    virtual void SetFocus() = 0;

    // Called after every change a user or a note command makes to the text (typing, pasting,
    // deleting), never after SetText.
    virtual void SetChangeHandler(std::function<void()> handler) = 0;

    // The calls up to the matching EndBatch are one batch, whose result a control that shows
    // the text shows once, at its end; batches nest. A headless control has nothing to show.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
};

// Runs `work` in one batch of the control's (BeginBatch, EndBatch). The batch ends whether or not
// `work` throws, and never in a destructor, since showing its result may fail too.
template <typename Work>
decltype(auto) InBatch(EditControl& edit, Work&& work)
{
    edit.BeginBatch();
    const auto run = [&]() -> decltype(auto) {
        try {
            return work();
        } catch (...) {
            edit.EndBatch();
            throw;
        }
    };
    if constexpr (std::is_void_v<decltype(work())>) {
        run();
        edit.EndBatch();
    } else {
        decltype(auto) result = run();
        edit.EndBatch();
        return result;
    }
}
