#include "qt/QtEditControl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

#include "notes/CQuillboxEditView.h"
#include "qt/QtFindDialog.h"
#include "qt/QtKeys.h"
#include "qt/TextCodec.h"

namespace {

// A notebook's line breaks (CR LF, or a lone CR or LF) as the editor's '\n'.
QString ToEditorBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString ToNotebookBreaks(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

// Text that a key press types into the editor, as QPlainTextEdit decides it.
bool TypesText(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    return text.at(0).isPrint() || text.at(0) == QLatin1Char('\t');
}

} // namespace

QtEditControl::QtEditControl(TextCodec& codec, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_codec(codec)
{
    setObjectName(QStringLiteral("noteEditor"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_batch.SetChangeHandler([this] {
        m_bBatchEdited = true;
        if (m_onChange)
            m_onChange();
    });
    connect(document(), &QTextDocument::contentsChange, this, &QtEditControl::OnContentsChange);
    connect(&m_codec, &TextCodec::EncodingChanged, this, &QtEditControl::OnEncodingChanged);
}

QtEditControl::~QtEditControl() = default;

QString QtEditControl::PlainText() const
{
    // The raw text keeps no-break spaces, which toPlainText() would turn into blanks.
    return document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

long QtEditControl::Room() const
{
    const QTextCursor cursor = textCursor();
    const long length = document()->characterCount() - 1;
    return m_limit - (length - (cursor.selectionEnd() - cursor.selectionStart()));
}

void QtEditControl::InsertWithinLimit(const QString& text)
{
    QString fitting = text;
    const long room = std::max(0L, Room());
    if (fitting.size() > room) {
        fitting.truncate(room);
        if (!fitting.isEmpty() && fitting.back().isHighSurrogate())
            fitting.chop(1);
        QApplication::beep();
    }
    if (fitting.isEmpty())
        return;
    QTextCursor cursor = textCursor();
    cursor.insertText(fitting);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void QtEditControl::OnContentsChange(int position, int removed, int added)
{
    if (m_nSilent > 0 || (removed == 0 && added == 0))
        return;
    if (added > 0 && m_codec.GetEncoding() == TextCodec::Encoding::Windows1252) {
        QTextCursor cursor(document());
        const int end = std::min(position + added, document()->characterCount() - 1);
        cursor.setPosition(std::min(position, end));
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        if (!m_codec.CanEncode(cursor.selectedText()))
            m_codec.UpgradeToUtf8();
    }
    if (m_onChange)
        m_onChange();
}

void QtEditControl::OnEncodingChanged(bool bUpgraded)
{
    if (!bUpgraded || !IsBatched())
        return;
    // The held bytes were Windows-1252; the selection moves with the characters it stood on.
    const std::string old = m_batch.GetText();
    long start;
    long end;
    m_batch.GetSel(start, end);
    const auto utf8Length = [&old](long offset) {
        return static_cast<long>(TextCodec::DecodeCp1252(old.substr(0, offset)).toUtf8().size());
    };
    const long newStart = utf8Length(start);
    const long newEnd = utf8Length(end);
    const std::string upgraded = TextCodec::DecodeCp1252(old).toUtf8().toStdString();
    m_batch.SetText(upgraded);
    m_batch.LimitText(m_batch.GetLimitText() + static_cast<long>(upgraded.size() - old.size()));
    m_batch.SetSel(newStart, newEnd);
}

void QtEditControl::BeginBatch()
{
    if (m_nBatch++ > 0)
        return;
    const QString text = PlainText();
    const QTextCursor cursor = textCursor();
    const std::string bytes = m_codec.Encode(ToNotebookBreaks(text));
    const auto byteOffset = [this, &text](int position) {
        return static_cast<long>(m_codec.Encode(ToNotebookBreaks(text.left(position))).size());
    };
    m_batch.SetText(bytes);
    // Typing in the held text keeps the widget's limit in characters.
    m_batch.LimitText(m_limit + static_cast<long>(bytes.size()) - static_cast<long>(text.size()));
    m_batch.SetSel(byteOffset(cursor.selectionStart()), byteOffset(cursor.selectionEnd()));
    m_batchSelStart = cursor.selectionStart();
    m_batchSelEnd = cursor.selectionEnd();
    m_bBatchReplaced = false;
    m_bBatchEdited = false;
}

void QtEditControl::EndBatch()
{
    if (m_nBatch == 0 || --m_nBatch > 0)
        return;
    const std::string bytes = m_batch.GetText();
    long start;
    long end;
    m_batch.GetSel(start, end);
    const auto position = [this, &bytes](long offset) {
        return static_cast<int>(ToEditorBreaks(m_codec.Decode(bytes.substr(0, offset))).size());
    };
    ++m_nSilent;
    if (m_bBatchReplaced) {
        setPlainText(ToEditorBreaks(m_codec.Decode(bytes)));
    } else if (m_bBatchEdited) {
        // Replace only what the command changed, as one step the user can undo.
        const QString before = PlainText();
        const QString after = ToEditorBreaks(m_codec.Decode(bytes));
        qsizetype prefix = 0;
        const qsizetype shorter = std::min(before.size(), after.size());
        while (prefix < shorter && before[prefix] == after[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
            ++suffix;
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        cursor.setPosition(static_cast<int>(prefix));
        cursor.setPosition(static_cast<int>(before.size() - suffix), QTextCursor::KeepAnchor);
        cursor.insertText(after.mid(prefix, after.size() - suffix - prefix));
        cursor.endEditBlock();
    }
    --m_nSilent;
    const int newStart = position(start);
    const int newEnd = position(end);
    if (m_bBatchReplaced || m_bBatchEdited || newStart != m_batchSelStart || newEnd != m_batchSelEnd) {
        QTextCursor cursor(document());
        cursor.setPosition(newStart);
        cursor.setPosition(newEnd, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
        ensureCursorVisible();
    }
    m_batch.SetText({});
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
    if (IsBatched())
        return m_batch.GetLineCount();
    return document()->blockCount();
}

std::string QtEditControl::GetLine(int line, int maxChars) const
{
    if (IsBatched())
        return m_batch.GetLine(line, maxChars);
    if (line < 0 || line >= document()->blockCount() || maxChars <= 0)
        return {};
    return m_codec.Encode(document()->findBlockByNumber(line).text().left(maxChars));
}

long QtEditControl::LineIndex(int line) const
{
    if (IsBatched())
        return m_batch.LineIndex(line);
    if (line < 0)
        line = LineFromChar(-1);
    if (line >= document()->blockCount())
        return -1;
    return document()->findBlockByNumber(line).position();
}

long QtEditControl::LineLength(long offset) const
{
    if (IsBatched())
        return m_batch.LineLength(offset);
    const QTextDocument* doc = document();
    if (offset >= 0) {
        const QTextBlock block = doc->findBlock(static_cast<int>(offset));
        return block.isValid() ? block.length() - 1 : 0;
    }
    const QTextCursor cursor = textCursor();
    const QTextBlock first = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    const long lastEnd = last.position() + last.length() - 1;
    return (cursor.selectionStart() - first.position()) + std::max(0L, lastEnd - cursor.selectionEnd());
}

int QtEditControl::LineFromChar(long offset) const
{
    if (IsBatched())
        return m_batch.LineFromChar(offset);
    if (offset < 0)
        offset = textCursor().selectionStart();
    const QTextBlock block = document()->findBlock(static_cast<int>(offset));
    return block.isValid() ? block.blockNumber() : document()->blockCount() - 1;
}

void QtEditControl::GetSel(long& start, long& end) const
{
    if (IsBatched()) {
        m_batch.GetSel(start, end);
        return;
    }
    const QTextCursor cursor = textCursor();
    start = cursor.selectionStart();
    end = cursor.selectionEnd();
}

void QtEditControl::SetSel(long start, long end)
{
    if (IsBatched()) {
        m_batch.SetSel(start, end);
        return;
    }
    const long length = document()->characterCount() - 1;
    if (start < 0)
        start = end = length;
    if (end < 0)
        end = length;
    start = std::clamp(start, 0L, length);
    end = std::clamp(end, 0L, length);
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(std::min(start, end)));
    cursor.setPosition(static_cast<int>(std::max(start, end)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

std::string QtEditControl::GetSelText() const
{
    if (IsBatched())
        return m_batch.GetSelText();
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return m_codec.Encode(text);
}

void QtEditControl::Clear()
{
    if (IsBatched()) {
        m_batch.Clear();
        return;
    }
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void QtEditControl::TypeChar(char ch)
{
    if (IsBatched()) {
        m_batch.TypeChar(ch);
        return;
    }
    if (Room() < 1)
        return;
    QTextCursor cursor = textCursor();
    cursor.insertText(ch == '\r' ? QStringLiteral("\n") : m_codec.Decode(std::string(1, ch)));
    setTextCursor(cursor);
}

std::string QtEditControl::GetText() const
{
    if (IsBatched())
        return m_batch.GetText();
    return m_codec.Encode(ToNotebookBreaks(PlainText()));
}

void QtEditControl::SetText(const std::string& text)
{
    if (IsBatched()) {
        m_batch.SetText(text);
        m_bBatchReplaced = true;
        return;
    }
    ++m_nSilent;
    setPlainText(ToEditorBreaks(m_codec.Decode(text)));
    --m_nSilent;
}

void QtEditControl::LimitText(long maxChars)
{
    if (IsBatched())
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
    m_pView->OnKeyDown(key);
    event->accept();
    // Every Return ends a paragraph; Shift+Return must not become a soft line break.
    if (key == Key::Return) {
        if (!m_pView->OnChar('\r'))
            InsertWithinLimit(QStringLiteral("\n"));
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).unicode() < 0x80 && text.at(0).isPrint()
        && m_pView->OnChar(static_cast<char>(text.at(0).unicode())))
        return;
    if (TypesText(event) && text.size() > Room()) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
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
        QApplication::beep();
        QInputMethodEvent refused(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&refused);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
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
        m_pView->OnRButtonDown(global.x(), global.y());
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void QtEditControl::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

void QtEditControl::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    QString text = ToEditorBreaks(source->text());
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    InsertWithinLimit(text);
}
