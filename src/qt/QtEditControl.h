#pragma once

#include <QPlainTextEdit>

#include <functional>
#include <string>
#include <vector>

#include "storage/TextEncoding.h"
#include "platform/EditControl.h"
#include "platform/TextBuffer.h"

class CQuillboxEditView;
class QtFindDialog;
class TextCodec;

// The note editor's control: a plain-text editor whose lines are paragraphs. It forwards Shift,
// the function keys, Return, the loss of the focus and right clicks to the editor view, and
// reports every user edit through the change handler.
//
// Qt lays out a paragraph whole, on every show and every key. A line of tens of thousands of
// characters, or one holding a long run without a space, is therefore shown as several
// paragraphs, pieces of some thousand characters, parted by separators that carry a character
// format of their own: they are no line breaks, and the text, positions, copies and searches the
// control hands out never hold them. Undo and redo restore them with their format, so the real
// line breaks and the pieces' ends never mix.
//
// The note logic never works on the widget itself. Every command runs inside a batch
// (BeginBatch to EndBatch): on its first use the text is taken from the widget into a
// TextBuffer, as the notebook's bytes, and the logic reads and edits that, with byte offsets,
// exactly as the headless program does; EndBatch shows the result once, replacing only what
// changed. A call outside any batch is a batch of its own.
class QtEditControl : public QPlainTextEdit, public EditControl
{
    Q_OBJECT

public:
    explicit QtEditControl(TextCodec& codec, QWidget* parent = nullptr);
    ~QtEditControl() override;

    void SetView(CQuillboxEditView* pView) { m_pView = pView; }
    // What runs the view's handlers of keys and clicks (in a batch, with what it does about a
    // handler that throws); without one they run in a batch of their own.
    void SetCommandRunner(std::function<void(const std::function<void()>&)> runner) { m_runCommand = std::move(runner); }

    void BeginBatch() override;
    void EndBatch() override;
    bool IsBatched() const { return m_nBatch > 0; }

    // Opens the Find dialog for this editor.
    void ShowFind();
    // Selects the next match of the text from the selection, as QPlainTextEdit::find does, over
    // the pieces' ends too; false when there is none.
    bool Find(const QString& text, QTextDocument::FindFlags flags);

    int GetLineCount() const override;
    std::string GetLine(int line, int maxChars) const override;
    long LineIndex(int line) const override;
    long LineLength(long offset) const override;
    int LineFromChar(long offset) const override;
    void GetSel(long& start, long& end) const override;
    void SetSel(long start, long end) override;
    std::string GetSelText() const override;
    void Clear() override;
    void TypeChar(char ch) override;
    long ReplaceSel(const std::string& text) override;
    std::string GetText() const override;
    void SetText(std::string_view text) override;
    void LimitText(long maxChars) override;
    long GetLimitText() const override { return m_limit; }
    void ConvertText(const std::function<std::string(std::string_view)>& convert) override;
    bool HasFocus() const override;
    void SetFocus() override;
    void SetChangeHandler(std::function<void()> handler) override { m_onChange = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Copy, cut and drag carry the selection's bytes; paste and drop take them back exactly.
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Characters the text may still take when `replaced` selected ones give way.
    long Room() const;
    // Says that typing or a paste went beyond the limit.
    void TellFull();
    void InsertWithinLimit(const QString& text);
    // Inserts text at the cursor, a line holding a long run cut into pieces.
    void InsertText(QTextCursor& cursor, QStringView text);
    // Takes away a piece the last edit, from `from` to `to`, emptied: it would show as an empty
    // line.
    void TidyPieces(int from, int to);
    // Hands a key to the editor, stepping over the pieces' ends as if they were not there.
    void PressKey(QKeyEvent* event);
    // Positions of the shown document's pieces' separators, in order.
    const std::vector<int>& PieceEnds() const;
    // The position in the text without those separators of a position in the document, and back;
    // where a piece ends, the position after its separator, or before it at `bPieceEnd`.
    int TextPos(int docPos) const;
    int DocPos(int textPos, bool bPieceEnd = false) const;
    // The document's text from `from` without the pieces' separators.
    QString WithoutPieceEnds(const QString& docText, int from) const;
    void OnContentsChange(int position, int removed, int added);
    // A document laid out the editor's way, for a folder's text.
    QTextDocument* NewDocument();
    // Makes a text holding a long run without a space wrap anywhere and lay out quickly, others
    // wrap at word boundaries.
    void LayOut(QTextDocument& doc, bool bLong);
    // Makes the widget wrap and scroll as a text with such a run needs, or as others do.
    void FitWidget(bool bLong);
    // Shows a folder's text in place of the one shown.
    void ShowText(const std::string& bytes);
    // The held text, taken from the widget on the batch's first use.
    TextBuffer& Held() const;
    // Runs an operation on the held text, in a batch of its own when none is open.
    template <typename Operation>
    auto OnHeld(Operation&& operation) const;
    // Runs a handler of the editor view as a command: inside a batch.
    template <typename Handler>
    auto Run(Handler&& handler);

    TextCodec& m_codec;
    CQuillboxEditView* m_pView = nullptr;
    std::function<void(const std::function<void()>&)> m_runCommand;
    std::function<void()> m_onChange;
    long m_limit = 32767;
    int m_nSilent = 0;
    bool m_bFilling = false; // while a shown text is put in a new document
    QtFindDialog* m_pFind = nullptr;

    // While batched: the text, which operations act on, and what happened to it.
    int m_nBatch = 0;
    mutable bool m_bBatchTaken = false;
    mutable TextBuffer m_batch;
    mutable QString m_heldText; // the widget's text when it was taken
    mutable std::string m_heldBytes; // and its bytes

    // Big texts shown before, each with the bytes it shows, the last shown at the back.
    struct KeptText
    {
        TextEncoding::Kind kind; // the bytes are read this way
        std::string bytes;
        QTextDocument* pDoc;
    };
    QObject* m_pDocuments; // owns the documents shown and kept
    std::vector<KeptText> m_kept;
    mutable const QTextDocument* m_pPiecesOf = nullptr; // whose separators m_pieceEnds holds
    mutable std::vector<int> m_pieceEnds;
    mutable int m_batchSelStart = 0; // the widget's selection when the text was taken, in m_heldText
    mutable int m_batchSelEnd = 0;
    bool m_bBatchReplaced = false;
    bool m_bBatchEdited = false;
};

// Holds an editor's text off the widget for one command.
