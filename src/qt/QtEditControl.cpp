#include "qt/QtEditControl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMainWindow>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <utility>

#include "storage/TextEncoding.h"
#include "notes/CQuillboxEditView.h"
#include "qt/QtFindDialog.h"
#include "qt/PlainMessageBox.h"
#include "qt/QtKeys.h"
#include "qt/TextCodec.h"
#include "words/MessageWords.h"

namespace {

// Text that a key press types into the editor, as QPlainTextEdit decides it.
bool TypesText(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    return text.at(0).isPrint() || text.at(0) == QLatin1Char('\t');
}

// Qt wraps a line at a word boundary when it can: each screen line of a run without one costs a
// look to the end of the run before it breaks anywhere, so a run of a few hundred thousand
// characters takes seconds to lay out. A text holding a run longer than this wraps anywhere,
// each screen line at the cost of its own characters.
constexpr int kLongestWord = 10000;

QTextOption::WrapMode WrapMode(bool bLongWord)
{
    return bLongWord ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
}

bool HoldsLongWord(QStringView text)
{
    int run = 0;
    for (const QChar ch : text) {
        run = ch.isSpace() ? 0 : run + 1;
        if (run > kLongestWord)
            return true;
    }
    return false;
}

// A line holding such a run is shown in pieces of about this many characters: each is laid out
// in about half a millisecond. So is any line longer than kLongLine, words too.
constexpr qsizetype kPiece = 8192;
constexpr qsizetype kLongLine = 8 * kPiece;

// The character format of the separator between two pieces of a line. A document that ever held
// one says so, and only its separators are looked at.
constexpr int kPieceEnd = QTextFormat::UserProperty + 1;
const char* const kHasPieces = "quillboxHasPieces";

QTextCharFormat PieceEndFormat()
{
    QTextCharFormat format;
    format.setProperty(kPieceEnd, true);
    return format;
}

bool HasPieces(const QTextDocument& doc)
{
    return doc.property(kHasPieces).toBool();
}

// Whether the separator before the block ends a piece rather than a line.
bool FollowsPieceEnd(const QTextBlock& block)
{
    return block.position() > 0 && block.charFormat().boolProperty(kPieceEnd);
}

bool HoldsLongWord(const QTextDocument& doc)
{
    // A line is its pieces together: the run goes on over their ends.
    const bool bPieces = HasPieces(doc);
    QString line;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const bool bLineGoesOn = bPieces && block.next().isValid() && FollowsPieceEnd(block.next());
        if (bLineGoesOn || !line.isEmpty()) {
            line += block.text();
            if (!bLineGoesOn && HoldsLongWord(std::exchange(line, {})))
                return true;
        } else if (block.length() > kLongestWord && HoldsLongWord(block.text())) {
            return true;
        }
    }
    return false;
}

bool ShownInPieces(QStringView line)
{
    return line.size() > kLongLine || (line.size() > kPiece && HoldsLongWord(line));
}

// Where the piece of a line that starts at `from` ends: about kPiece characters on, after a
// space where one is near (a screen line may end there anyway), else at the next boundary
// between characters as the user sees them (a letter and its accents stay together); or the
// line's end.
qsizetype PieceEnd(QStringView line, qsizetype from)
{
    if (line.size() - from <= kPiece)
        return line.size();
    const qsizetype cut = from + kPiece;
    constexpr qsizetype kSpaceWithin = 256;
    for (qsizetype at = cut; at > cut - kSpaceWithin; --at) {
        if (line[at - 1].isSpace() && !line[at].isMark())
            return at;
    }
    // The boundaries are found in a window around the cut, not over the whole line.
    constexpr qsizetype kAround = 32;
    const qsizetype low = cut - kAround;
    const QStringView window = line.mid(low, std::min<qsizetype>(2 * kAround, line.size() - low));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, window.data(), window.size());
    finder.setPosition(cut - low);
    const qsizetype at = finder.isAtBoundary() ? finder.position() : finder.toNextBoundary();
    return at > 0 ? low + at : low + window.size();
}

} // namespace

QtEditControl::QtEditControl(TextCodec& codec, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_codec(codec)
    , m_pDocuments(new QObject(this))
{
    setObjectName(QStringLiteral("noteEditor"));
    setAccessibleName(tr("Notes"));
    // The area the text is drawn in would say it has the focus too, through its proxy, and a
    // screen reader would name that unnamed part rather than the editor; a click on it still
    // gives the editor the focus, the first parent that takes it.
    viewport()->setFocusProxy(nullptr);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_batch.SetChangeHandler([this] {
        m_bBatchEdited = true;
        if (m_onChange)
            m_onChange();
    });
    setDocument(NewDocument());
}

QTextDocument* QtEditControl::NewDocument()
{
    auto* pDoc = new QTextDocument(m_pDocuments);
    pDoc->setDocumentLayout(new QPlainTextDocumentLayout(pDoc));
    pDoc->setDefaultFont(document()->defaultFont());
    pDoc->setDefaultTextOption(document()->defaultTextOption());
    pDoc->setDocumentMargin(document()->documentMargin());
    connect(pDoc, &QTextDocument::contentsChange, this, &QtEditControl::OnContentsChange);
    return pDoc;
}

void QtEditControl::InsertText(QTextCursor& cursor, QStringView text)
{
    // Typed and pasted text, and real line breaks, never take a piece's end's format.
    const QTextCharFormat plain;
    qsizetype done = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(start, end - start);
        if (ShownInPieces(line)) {
            cursor.insertText(text.sliced(done, start - done).toString(), plain);
            for (qsizetype from = 0; from < line.size();) {
                const qsizetype to = PieceEnd(line, from);
                cursor.insertText(line.sliced(from, to - from).toString(), plain);
                if (to < line.size())
                    cursor.insertBlock(QTextBlockFormat(), PieceEndFormat());
                from = to;
            }
            cursor.document()->setProperty(kHasPieces, true);
            done = end;
        }
        start = end + 1;
    }
    cursor.insertText(text.sliced(done).toString(), plain);
}

const std::vector<int>& QtEditControl::PieceEnds() const
{
    const QTextDocument* pDoc = document();
    if (m_pPiecesOf != pDoc) {
        m_pieceEnds.clear();
        if (HasPieces(*pDoc)) {
            for (QTextBlock block = pDoc->begin().next(); block.isValid(); block = block.next()) {
                if (FollowsPieceEnd(block))
                    m_pieceEnds.push_back(block.position() - 1);
            }
        }
        m_pPiecesOf = pDoc;
    }
    return m_pieceEnds;
}

int QtEditControl::TextPos(int docPos) const
{
    const std::vector<int>& ends = PieceEnds();
    return docPos - static_cast<int>(std::lower_bound(ends.begin(), ends.end(), docPos) - ends.begin());
}

int QtEditControl::DocPos(int textPos, bool bPieceEnd) const
{
    int pos = textPos;
    for (const int end : PieceEnds()) {
        if (end > pos || (end == pos && bPieceEnd))
            break;
        ++pos;
    }
    return pos;
}

QString QtEditControl::WithoutPieceEnds(const QString& docText, int from) const
{
    const std::vector<int>& ends = PieceEnds();
    auto end = std::lower_bound(ends.begin(), ends.end(), from);
    const auto last = std::lower_bound(end, ends.end(), from + static_cast<int>(docText.size()));
    if (end == last)
        return docText;
    QString text;
    text.reserve(docText.size());
    int at = from;
    for (; end != last; ++end) {
        text += QStringView(docText).sliced(at - from, *end - at);
        at = *end + 1;
    }
    text += QStringView(docText).sliced(at - from);
    return text;
}

void QtEditControl::TidyPieces(int from, int to)
{
    if (!HasPieces(*document()))
        return;
    if (to > from)
        TidyPieces(to, to);
    const QTextBlock block = document()->findBlock(from);
    if (block.length() != 1)
        return;
    int separator = -1;
    if (block.next().isValid() && FollowsPieceEnd(block.next()))
        separator = block.position();
    else if (FollowsPieceEnd(block))
        separator = block.position() - 1;
    if (separator < 0)
        return;
    // Part of the edit that emptied it, for undo.
    ++m_nSilent;
    QTextCursor cursor(document());
    cursor.joinPreviousEditBlock();
    cursor.setPosition(separator);
    cursor.setPosition(separator + 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
    --m_nSilent;
}

void QtEditControl::LayOut(QTextDocument& doc, bool bLong)
{
    QTextOption option = doc.defaultTextOption();
    if (option.wrapMode() != WrapMode(bLong)) {
        option.setWrapMode(WrapMode(bLong));
        doc.setDefaultTextOption(option);
    }
    // Its pieces are laid out on every show and every key, and shaping them through HarfBuzz is
    // half of that: simple scripts take a glyph per character instead (no kerning, no
    // ligatures), others are still shaped.
    QFont font = doc.defaultFont();
    const auto strategy = QFont::StyleStrategy((font.styleStrategy() & ~QFont::PreferNoShaping) | (bLong ? QFont::PreferNoShaping : 0));
    if (font.styleStrategy() != strategy) {
        font.setStyleStrategy(strategy);
        doc.setDefaultFont(font);
    }
}

void QtEditControl::FitWidget(bool bLong)
{
    // The widget gives its own mode to the document it shows.
    setWordWrapMode(WrapMode(bLong));
    // A text with such a run always fills the editor: its scroll bar is there before it is laid
    // out, not making it lay out again at a narrower width when it appears.
    setVerticalScrollBarPolicy(bLong ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
}

void QtEditControl::ShowText(const std::string& bytes)
{
    // A big folder's laid-out text is kept while others are shown, and shown again when the
    // folder comes back unchanged: laying it out anew costs far more than comparing its bytes.
    constexpr size_t kWorthKeeping = 64 * 1024;
    constexpr size_t kKept = 2;
    QTextDocument* pShown = document();
    const TextEncoding::Kind kind = m_codec.GetEncoding().GetKind();
    const auto kept = std::find_if(m_kept.begin(), m_kept.end(), [&](const KeptText& k) { return k.kind == kind && k.bytes == bytes; });
    QTextDocument* pNext = nullptr;
    bool bLong = false;
    QString text;
    if (kept != m_kept.end()) {
        pNext = kept->pDoc;
        m_kept.erase(kept);
        bLong = HoldsLongWord(*pNext);
    } else {
        text = m_codec.Decode(bytes);
        bLong = HoldsLongWord(text);
        if (m_heldBytes.size() < kWorthKeeping && !bLong && text.size() <= kLongLine) {
            // Every separator goes with the text it replaces.
            document()->setProperty(kHasPieces, false);
            setPlainText(text);
            return;
        }
        pNext = NewDocument();
    }
    // The widget changes its wrapping and its scroll bar while a text without a long run is
    // shown: that one is laid out again, cheaply, and a long text keeps its layout while it is
    // put aside, and is laid out at the right width and mode once it is shown.
    m_pPiecesOf = nullptr;
    LayOut(*pNext, bLong);
    if (bLong)
        FitWidget(bLong);
    setDocument(pNext);
    if (!bLong)
        FitWidget(bLong);
    if (!text.isEmpty()) {
        // Filled once shown: a layout has its width from the widget showing it, and without one
        // it lays each paragraph out on a single line.
        m_bFilling = true;
        pNext->setUndoRedoEnabled(false);
        QTextCursor cursor(pNext);
        cursor.beginEditBlock();
        InsertText(cursor, text);
        cursor.endEditBlock();
        pNext->setUndoRedoEnabled(true);
        m_bFilling = false;
    }
    if (m_heldBytes.size() >= kWorthKeeping) {
        m_kept.push_back({ kind, std::move(m_heldBytes), pShown });
        if (m_kept.size() > kKept) {
            delete m_kept.front().pDoc;
            m_kept.erase(m_kept.begin());
        }
    } else {
        delete pShown;
    }
}

QtEditControl::~QtEditControl() = default;

long QtEditControl::Room() const
{
    const QTextCursor cursor = textCursor();
    const long length = TextPos(document()->characterCount() - 1);
    return m_limit - (length - (TextPos(cursor.selectionEnd()) - TextPos(cursor.selectionStart())));
}

void QtEditControl::TellFull()
{
    QApplication::beep();
    // In the status bar, for a few seconds: a key held down at the limit refuses each repeat,
    // and a dialog each time would stand in the way of the very keys that make room.
    auto* pMain = qobject_cast<QMainWindow*>(window());
    if (!pMain)
        return;
    const std::string limit = QLocale(QLocale::English).toString(static_cast<qlonglong>(m_limit)).toStdString();
    const std::string words = DescribeMessage({ Message::Kind::FolderTextFull, limit }, limit);
    pMain->statusBar()->showMessage(QString::fromStdString(words), 5000);
}

void QtEditControl::InsertWithinLimit(const QString& text)
{
    QString fitting = text;
    const long room = std::max(0L, Room());
    if (fitting.size() > room) {
        fitting.truncate(room);
        if (!fitting.isEmpty() && fitting.back().isHighSurrogate())
            fitting.chop(1);
        TellFull();
    }
    if (fitting.isEmpty())
        return;
    QTextCursor cursor = textCursor();
    const int from = cursor.selectionStart();
    cursor.beginEditBlock();
    InsertText(cursor, fitting);
    cursor.endEditBlock();
    setTextCursor(cursor);
    TidyPieces(from, cursor.position());
    ensureCursorVisible();
}

void QtEditControl::OnContentsChange(int position, int removed, int added)
{
    if (sender() == document()) {
        m_pPiecesOf = nullptr;
        // Edits that come by no key of the control's (Cut from the menu, a drag moved away) may
        // empty a piece too: it goes once they are done.
        if (m_nSilent == 0 && !m_bFilling && HasPieces(*document()))
            QMetaObject::invokeMethod(this, [this, position, added] { TidyPieces(position, position + added); }, Qt::QueuedConnection);
    }
    if (std::max(removed, added) > kLongestWord && sender() == document() && !m_bFilling) {
        const bool bLong = HoldsLongWord(*document());
        LayOut(*document(), bLong);
        FitWidget(bLong);
    }
    if (m_nSilent > 0 || (removed == 0 && added == 0))
        return;
    if (added > 0 && m_codec.GetEncoding().GetKind() == TextEncoding::Kind::Windows1252) {
        // What the user typed or pasted decides whether the notebook must turn to UTF-8; its
        // paragraph ends (U+2029 here) are line breaks, which every notebook holds.
        QTextCursor cursor(document());
        const int end = std::min(position + added, document()->characterCount() - 1);
        cursor.setPosition(std::min(position, end));
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        m_codec.Accept(cursor.selectedText());
    }
    if (m_onChange)
        m_onChange();
}

void QtEditControl::ConvertText(const std::function<std::string(std::string_view)>& convert)
{
    // The widget holds characters, which stay as they are; only held bytes change.
    if (IsBatched() && m_bBatchTaken)
        m_batch.ConvertText(convert);
}

TextBuffer& QtEditControl::Held() const
{
    if (m_bBatchTaken)
        return m_batch;
    m_bBatchTaken = true;
    m_heldText = WithoutPieceEnds(document()->toRawText(), 0);
    const QTextCursor cursor = textCursor();
    m_heldBytes = m_codec.EncodeHeld(m_heldText);
    const std::string& bytes = m_heldBytes;
    m_batchSelStart = TextPos(cursor.selectionStart());
    m_batchSelEnd = TextPos(cursor.selectionEnd());
    // The selection's byte offsets, measured in one pass up to its end.
    const QStringView text(m_heldText);
    const long start = m_codec.EncodedSize(text.left(m_batchSelStart));
    const long end = start + m_codec.EncodedSize(text.mid(m_batchSelStart, m_batchSelEnd - m_batchSelStart));
    m_batch.SetText(bytes);
    // Typing in the held text keeps the widget's limit in characters.
    m_batch.LimitText(m_limit + static_cast<long>(bytes.size()) - static_cast<long>(m_heldText.size()));
    m_batch.SetSel(start, end);
    return m_batch;
}

template <typename Operation>
auto QtEditControl::OnHeld(Operation&& operation) const
{
    if (IsBatched())
        return operation(Held());
    // A call from outside any command: the control itself is not changed by batching.
    return InBatch(const_cast<QtEditControl&>(*this), [&] { return operation(Held()); });
}

template <typename Handler>
auto QtEditControl::Run(Handler&& handler)
{
    const auto run = [this](const std::function<void()>& command) {
        if (m_runCommand)
            m_runCommand(command);
        else
            InBatch(*this, command);
    };
    if constexpr (std::is_void_v<decltype(handler())>) {
        run(handler);
    } else {
        // A handler that failed consumed nothing.
        decltype(handler()) result {};
        run([&] { result = handler(); });
        return result;
    }
}

void QtEditControl::BeginBatch()
{
    if (m_nBatch++ > 0)
        return;
    m_bBatchTaken = false;
    m_bBatchReplaced = false;
    m_bBatchEdited = false;
}

void QtEditControl::EndBatch()
{
    if (m_nBatch == 0 || --m_nBatch > 0 || !m_bBatchTaken)
        return;
    m_bBatchTaken = false;
    // The note logic types through the held text, which refuses what goes beyond the limit.
    if (m_batch.TakeRefused())
        TellFull();
    const std::string bytes = m_batch.GetText();
    long start;
    long end;
    m_batch.GetSel(start, end);

    ++m_nSilent;
    if (m_bBatchReplaced) {
        ShowText(bytes);
    } else if (m_bBatchEdited) {
        // Replace only what the command changed, as one step the user can undo.
        const QString& before = m_heldText;
        const QString after = m_codec.Decode(bytes);
        qsizetype prefix = 0;
        const qsizetype shorter = std::min(before.size(), after.size());
        const auto same = [](QChar a, QChar b) { return a == b || (a == QChar::ParagraphSeparator && b == QLatin1Char('\n')); };
        while (prefix < shorter && same(before[prefix], after[prefix]))
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < shorter - prefix && same(before[before.size() - 1 - suffix], after[after.size() - 1 - suffix]))
            ++suffix;
        // The pieces' separators at either end of what changed stay.
        const int from = DocPos(static_cast<int>(prefix));
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        cursor.setPosition(from);
        cursor.setPosition(std::max(from, DocPos(static_cast<int>(before.size() - suffix), true)), QTextCursor::KeepAnchor);
        InsertText(cursor, QStringView(after).sliced(prefix, after.size() - suffix - prefix));
        cursor.endEditBlock();
        TidyPieces(from, cursor.position());
    }
    --m_nSilent;
    const std::string_view held(bytes);
    const int newStart = static_cast<int>(m_codec.DecodedSize(held.substr(0, start)));
    const int newEnd = newStart + static_cast<int>(m_codec.DecodedSize(held.substr(start, end - start)));
    if (m_bBatchReplaced || m_bBatchEdited || newStart != m_batchSelStart || newEnd != m_batchSelEnd) {
        QTextCursor cursor(document());
        const int docStart = DocPos(newStart);
        cursor.setPosition(docStart);
        cursor.setPosition(newEnd == newStart ? docStart : DocPos(newEnd, true), QTextCursor::KeepAnchor);
        setTextCursor(cursor);
        ensureCursorVisible();
    }
    m_batch.SetText({});
    m_heldText.clear();
    m_heldBytes.clear();
}

bool QtEditControl::Find(const QString& text, QTextDocument::FindFlags flags)
{
    if (!HasPieces(*document()))
        return find(text, flags);
    // QTextDocument::find's rules, over the lines' whole text: a no-break space is a space, a
    // whole word has no letter or digit beside it, the search goes on after a part of a word.
    QString lines = WithoutPieceEnds(document()->toRawText(), 0);
    lines.replace(QChar::Nbsp, u' ');
    const Qt::CaseSensitivity sensitivity = (flags & QTextDocument::FindCaseSensitively) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool bBack = flags & QTextDocument::FindBackward;
    const QTextCursor from = textCursor();
    qsizetype at = bBack ? TextPos(from.selectionStart()) - 1 : TextPos(from.selectionEnd());
    while (at >= 0 && at <= lines.size()) {
        const qsizetype found = bBack ? lines.lastIndexOf(text, at, sensitivity) : lines.indexOf(text, at, sensitivity);
        if (found < 0)
            return false;
        const qsizetype end = found + text.size();
        if ((flags & QTextDocument::FindWholeWords)
            && ((found > 0 && lines.at(found - 1).isLetterOrNumber()) || (end < lines.size() && lines.at(end).isLetterOrNumber()))) {
            at = bBack ? found - 1 : end + 1;
            continue;
        }
        QTextCursor match(document());
        match.setPosition(DocPos(static_cast<int>(found)));
        match.setPosition(DocPos(static_cast<int>(end), true), QTextCursor::KeepAnchor);
        setTextCursor(match);
        ensureCursorVisible();
        return true;
    }
    return false;
}

void QtEditControl::ShowFind()
{
    if (!m_pFind)
        m_pFind = new QtFindDialog(this);
    m_pFind->show();
    m_pFind->raise();
    m_pFind->activateWindow();
}

int QtEditControl::GetLineCount() const
{
    return OnHeld([](TextBuffer& text) { return text.GetLineCount(); });
}

std::string QtEditControl::GetLine(int line, int maxChars) const
{
    return OnHeld([=](TextBuffer& text) { return text.GetLine(line, maxChars); });
}

long QtEditControl::LineIndex(int line) const
{
    return OnHeld([=](TextBuffer& text) { return text.LineIndex(line); });
}

long QtEditControl::LineLength(long offset) const
{
    return OnHeld([=](TextBuffer& text) { return text.LineLength(offset); });
}

int QtEditControl::LineFromChar(long offset) const
{
    return OnHeld([=](TextBuffer& text) { return text.LineFromChar(offset); });
}

void QtEditControl::GetSel(long& start, long& end) const
{
    OnHeld([&](TextBuffer& text) { text.GetSel(start, end); });
}

void QtEditControl::SetSel(long start, long end)
{
    OnHeld([=](TextBuffer& text) { text.SetSel(start, end); });
}

std::string QtEditControl::GetSelText() const
{
    return OnHeld([](TextBuffer& text) { return text.GetSelText(); });
}

void QtEditControl::Clear()
{
    OnHeld([](TextBuffer& text) { text.Clear(); });
}

long QtEditControl::ReplaceSel(const std::string& text)
{
    long inserted = 0;
    OnHeld([&](TextBuffer& held) { inserted = held.ReplaceSel(text); });
    return inserted;
}

void QtEditControl::TypeChar(char ch)
{
    OnHeld([=](TextBuffer& text) { text.TypeChar(ch); });
}

std::string QtEditControl::GetText() const
{
    return OnHeld([](TextBuffer& text) { return text.GetText(); });
}

void QtEditControl::SetText(std::string_view bytes)
{
    OnHeld([&](TextBuffer& text) {
        text.SetText(bytes);
        m_bBatchReplaced = true;
    });
}

void QtEditControl::LimitText(long maxChars)
{
    if (IsBatched() && m_bBatchTaken)
        m_batch.LimitText(m_batch.GetLimitText() + maxChars - m_limit);
    m_limit = maxChars;
}

bool QtEditControl::HasFocus() const
{
    // The window's focus widget, not hasFocus(): right after a modal dialog closes the window
    // is not yet active again, yet the keyboard belongs to this control.
    return window()->focusWidget() == this;
}

void QtEditControl::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void QtEditControl::keyPressEvent(QKeyEvent* event)
{
    if (!m_pView) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const Key key = KeyFromQt(event->key());
    Run([&] { m_pView->OnKeyDown(key); });
    event->accept();
    // Every Return ends a paragraph; Shift+Return must not become a soft line break.
    if (key == Key::Return) {
        if (!Run([&] { return m_pView->OnChar('\r'); }))
            InsertWithinLimit(QStringLiteral("\n"));
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).unicode() < 0x80 && text.at(0).isPrint()
        && Run([&] { return m_pView->OnChar(static_cast<char>(text.at(0).unicode())); }))
        return;
    if (TypesText(event) && text.size() > Room()) {
        TellFull();
        return;
    }
    PressKey(event);
}

void QtEditControl::PressKey(QKeyEvent* event)
{
    if (!HasPieces(*document())) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QTextCursor cursor = textCursor();
    const int before = cursor.position();
    const bool bSelected = cursor.hasSelection();
    const auto endsAt = [this](int position) {
        const std::vector<int>& ends = PieceEnds();
        return std::binary_search(ends.begin(), ends.end(), position);
    };
    // Backspace and Delete take the character beyond a piece's end, not its separator.
    if (!bSelected && ((event->key() == Qt::Key_Backspace && endsAt(before - 1)) || (event->key() == Qt::Key_Delete && endsAt(before)))) {
        cursor.setPosition(event->key() == Qt::Key_Backspace ? before - 1 : before + 1);
        setTextCursor(cursor);
    }
    QPlainTextEdit::keyPressEvent(event);
    // A step over a piece's end passes no character: one more step does.
    const bool bStep = event->matches(QKeySequence::MoveToNextChar) || event->matches(QKeySequence::MoveToPreviousChar)
        ? !bSelected
        : event->matches(QKeySequence::SelectNextChar) || event->matches(QKeySequence::SelectPreviousChar);
    const int after = textCursor().position();
    if (bStep && std::abs(after - before) == 1 && endsAt(std::min(before, after)))
        QPlainTextEdit::keyPressEvent(event);
    TidyPieces(textCursor().position(), textCursor().position());
}

void QtEditControl::keyReleaseEvent(QKeyEvent* event)
{
    if (m_pView)
        m_pView->OnKeyUp(KeyFromQt(event->key()));
    QPlainTextEdit::keyReleaseEvent(event);
}

void QtEditControl::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().size() > Room()) {
        TellFull();
        QInputMethodEvent refused(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&refused);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
    TidyPieces(textCursor().position(), textCursor().position());
}

void QtEditControl::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (m_pView)
        m_pView->OnKillFocus();
}

void QtEditControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && m_pView) {
        // The view's menu is the whole handling: the caret stays where it was.
        event->accept();
        const QPoint global = event->globalPosition().toPoint();
        Run([&] { m_pView->OnRButtonDown(global.x(), global.y()); });
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void QtEditControl::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

QMimeData* QtEditControl::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    return m_codec.NewMimeData(m_codec.EncodeHeld(WithoutPieceEnds(cursor.selectedText(), cursor.selectionStart())));
}

void QtEditControl::insertFromMimeData(const QMimeData* source)
{
    size_t replaced = 0;
    const std::optional<QString> text = m_codec.TakeMimeData(*source, replaced);
    if (!text)
        return;
    InsertWithinLimit(*text);
    if (replaced == 0)
        return;
    // English says the one surrogate in a sentence of its own: the English catalogue's singular.
    const QString told = tr("The pasted text held %n unpaired UTF-16 surrogates, which are no characters and cannot be "
                            "stored; each was pasted as the replacement character U+FFFD.", nullptr, int(replaced));
    PlainMessageBox box(QMessageBox::Warning, tr("Quillbox"), told, QMessageBox::Ok, this, QStringLiteral("messageBox"));
    box.exec();
}
