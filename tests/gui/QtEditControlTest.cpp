#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <random>

#include "QtNotebook.h"
#include "platform/CommandIds.h"
#include "qt/QtFindDialog.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------\r\n";

// A key event as the window system sends it, without the Shift key-down that
// QTest::keyClick sends before a shifted key.
void SendKey(QWidget* pWidget, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(pWidget, &event);
}

long Length(const QtEditControl* pEdit)
{
    return pEdit->document()->characterCount() - 1;
}

} // namespace

// The note editor's control driven by keys and clicks, with the real note logic behind it.
class QtEditControlTest : public QObject
{
    Q_OBJECT

private slots:
    void shiftReturnTypesAHeaderAndNoSoftBreak()
    {
        auto nb = QtNotebook::New();
        QTest::keyClicks(nb->edit, "Hello");
        QTest::keyClick(nb->edit, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(nb->edit, "x");
        QTest::keyClick(nb->edit, Qt::Key_Return);
        QTest::keyClicks(nb->edit, "y");
        QCOMPARE(nb->edit->GetText(), kHeader + "Hello\r\n" + kHeader + "x\r\ny");
        QVERIFY(!nb->edit->document()->toRawText().contains(QChar::LineSeparator));
        QCOMPARE(nb->edit->GetLineCount(), 5);
    }

    void onlyAShiftKeyDownArmsTheHeader()
    {
        auto nb = QtNotebook::New();
        SendKey(nb->edit, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        SendKey(nb->edit, QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
        SendKey(nb->edit, QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
        SendKey(nb->edit, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
        QCOMPARE(nb->edit->GetText(), kHeader + kHeader + "\r\n");
        QVERIFY(!nb->edit->document()->toRawText().contains(QChar::LineSeparator));
    }

    void losingTheFocusForgetsShift()
    {
        auto nb = QtNotebook::New();
        nb->edit->setFocus();
        SendKey(nb->edit, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        nb->tree->setFocus();
        QTRY_VERIFY(nb->tree->hasFocus());
        nb->edit->setFocus();
        QTRY_VERIFY(nb->edit->hasFocus());
        SendKey(nb->edit, QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
        QCOMPARE(nb->edit->GetText(), kHeader + "\r\n");
    }

    void assignedFunctionKeySendsTheNoteAtTheCaret()
    {
        auto nb = QtNotebook::New();
        InBatch(*nb->edit, [&] {
            nb->doc.AddFolder(false, "Ideas", {}, true, "F4", "Move");
            nb->tree->SelectItem(nb->doc.FindFolderByName("Main")->m_hItem);
        });
        nb->edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(nb->edit, "Buy milk");
        nb->doc.SetModifiedFlag(false);
        QTest::keyClick(nb->edit, Qt::Key_F4);
        QCOMPARE(nb->edit->GetText(), std::string());
        QCOMPARE(nb->doc.FindFolderByName("Ideas")->m_text, kHeader + kHeader + "Buy milk\r\n");
        QVERIFY(nb->doc.IsModified());
    }

    void typingAndPastingStopAtTheLimit()
    {
        auto nb = QtNotebook::New();
        const long limit = CQuillboxEditView::kTextLimit;
        QCOMPARE(nb->edit->GetLimitText(), limit);
        // Lines of 80 characters; each line break is one character of the limit.
        const long lines = (limit - 2) / 81;
        std::string text;
        for (long i = 0; i < lines; ++i)
            text += std::string(80, 'a') + "\r\n";
        text += std::string(limit - 2 - lines * 81, 'a');
        nb->edit->SetText(text);
        nb->edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(nb->edit, "bcd");
        QTest::keyClick(nb->edit, Qt::Key_Return);
        QCOMPARE(Length(nb->edit), limit);
        QVERIFY(nb->edit->GetText().ends_with("abc"));

        // A paste over a selection fits in what the selection frees.
        nb->edit->SetSel(0, 3);
        QApplication::clipboard()->setText(QStringLiteral("12345"));
        nb->edit->paste();
        QCOMPARE(Length(nb->edit), limit);
        QVERIFY(nb->edit->GetText().starts_with("123aaa"));

        // Loading a folder's text is not typing: the limit does not cut it.
        nb->edit->SetText(text + std::string(12, 'z'));
        QCOMPARE(Length(nb->edit), limit + 10);
    }

    void pastedTextKeepsItsCharactersAndLineBreaks()
    {
        // Line feeds, alone or after a CR, end paragraphs; a lone CR and U+2028 stay what they are.
        auto nb = QtNotebook::New();
        nb->edit->SetText({});
        QApplication::clipboard()->setText(QStringLiteral("one\r\ntwo\nthree\rfour") + QChar(QChar::LineSeparator) + QStringLiteral("five"));
        nb->edit->paste();
        QCOMPARE(nb->edit->GetText(), std::string("one\r\ntwo\r\nthree\rfour\xE2\x80\xA8" "five"));
        QCOMPARE(nb->edit->GetLineCount(), 3);
    }

    void rightClickLeavesTheCaretForTheNoteCommands()
    {
        auto nb = QtNotebook::New();
        nb->edit->SetText(kHeader + "first\r\n" + kHeader + "second\r\n");
        nb->edit->SetSel(kHeader.size() + 2, kHeader.size() + 2);
        nb->prompts.ExpectPopupMenu(cmd::NoteContextMenu, cmd::DeleteNote);
        QTextCursor second(nb->edit->document()->findBlockByNumber(3));
        const QPoint onSecond = nb->edit->cursorRect(second).center();
        QTest::mouseClick(nb->edit->viewport(), Qt::RightButton, {}, onSecond);
        QCOMPARE(nb->edit->GetText(), kHeader + "second\r\n");
        QCOMPARE(nb->doc.FindFolderByName("Trash")->m_text, kHeader + "first\r\n");
        nb->prompts.ReportUnfinished();
    }

    void loadingTextIsNoEditAndKeepsTheModifiedFlag()
    {
        auto nb = QtNotebook::New();
        nb->doc.SetModifiedFlag(false);
        nb->edit->SetText("loaded");
        QVERIFY(!nb->doc.IsModified());
        QTest::keyClicks(nb->edit, "x");
        QVERIFY(nb->doc.IsModified());
        nb->edit->SetText("another folder");
        QVERIFY(nb->doc.IsModified());
    }

    void batchShowsTheFinalTextAndSelectionOnce()
    {
        auto nb = QtNotebook::New();
        nb->edit->SetText("one\r\ntwo");
        nb->edit->BeginBatch();
        nb->edit->SetText("alpha\r\nbeta");
        nb->edit->SetSel(7, 7);
        nb->edit->TypeChar('X');
        QCOMPARE(nb->edit->toPlainText(), QStringLiteral("one\ntwo"));
        QCOMPARE(nb->edit->GetText(), std::string("alpha\r\nXbeta"));
        nb->edit->EndBatch();
        QCOMPARE(nb->edit->toPlainText(), QStringLiteral("alpha\nXbeta"));
        QCOMPARE(nb->edit->textCursor().position(), 7);
        long start = 0;
        long end = 0;
        nb->edit->GetSel(start, end);
        QCOMPARE(start, 8L);
    }

    void aCommandsEditCanBeUndone()
    {
        auto nb = QtNotebook::New();
        nb->edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(nb->edit, "note");
        InBatch(*nb->edit, [&] {
            nb->editView.OnCommand(cmd::NewNote);
        });
        QCOMPARE(nb->edit->GetText(), kHeader + "note\r\n" + kHeader);
        nb->doc.SetModifiedFlag(false);
        nb->edit->undo();
        QCOMPARE(nb->edit->GetText(), kHeader + "note");
        QVERIFY(nb->doc.IsModified());
    }

    void offsetsAreTheNotebooksBytesInsideAndOutsideABatch()
    {
        auto nb = QtNotebook::New();
        nb->edit->SetText("\xC3\xA4\xE2\x82\xAC\r\nxyz\r\n");
        QCOMPARE(nb->edit->GetLineCount(), 3);
        QCOMPARE(nb->edit->LineIndex(1), 7L);
        QCOMPARE(nb->edit->LineLength(0), 5L);
        QCOMPARE(nb->edit->LineFromChar(8), 1);
        QCOMPARE(nb->edit->GetLine(0, 2), std::string("\xC3\xA4"));
        QCOMPARE(nb->edit->LineIndex(3), -1L);
        nb->edit->SetSel(2, 8);
        QCOMPARE(nb->edit->textCursor().selectionStart(), 1);
        QCOMPARE(nb->edit->textCursor().selectionEnd(), 4);
        QCOMPARE(nb->edit->GetSelText(), std::string("\xE2\x82\xAC\r\nx"));
        QCOMPARE(nb->edit->LineLength(-1), 2L + 2L);
        nb->edit->SetSel(-1, 0);
        QCOMPARE(nb->edit->textCursor().position(), 7);
        nb->edit->SetSel(0, -1);
        QCOMPARE(nb->edit->GetSelText(), nb->edit->GetText());
    }

    void bigTextsShownAgainAreTheirOwnAndTakeEdits()
    {
        // Texts this big are kept laid out while another is shown.
        auto nb = QtNotebook::New();
        const std::string a = kHeader + std::string(70000, 'a') + "\r\n";
        const std::string b = kHeader + std::string(70000, 'b') + "\r\n";
        nb->edit->SetText(a);
        nb->edit->SetText(b);
        nb->edit->SetText(a);
        QCOMPARE(nb->edit->GetText(), a);
        nb->doc.SetModifiedFlag(false);
        nb->edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(nb->edit, "x");
        QCOMPARE(nb->edit->GetText(), a + "x");
        QVERIFY(nb->doc.IsModified());
        // A text that changed while another was shown is laid out anew.
        nb->edit->SetText(b + "changed");
        QCOMPARE(nb->edit->GetText(), b + "changed");
        nb->edit->SetText(a);
        QCOMPARE(nb->edit->GetText(), a);
        nb->edit->SetText(a + "x");
        QCOMPARE(nb->edit->GetText(), a + "x");
        QCOMPARE(nb->edit->GetLineCount(), 3);
    }

    void noBreakSpacesSurviveTheEditor()
    {
        auto nb = QtNotebook::New();
        nb->doc.SetEncodingKind(TextEncoding::Kind::Windows1252);
        nb->edit->SetText("a\xA0" "b\x81");
        QCOMPARE(nb->edit->GetText(), std::string("a\xA0" "b\x81"));
    }

    void longLinesWrapWithoutAHorizontalScrollBar()
    {
        auto nb = QtNotebook::New();
        nb->edit->SetText(std::string(2000, 'w'));
        QTRY_VERIFY(nb->edit->document()->firstBlock().layout()->lineCount() > 1);
        QCOMPARE(nb->edit->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(nb->edit->GetLineCount(), 1);
    }

    void aRunWithoutSpacesWrapsAnywhereAndTheNextFolderAtWords()
    {
        // A long run without a space would take seconds to wrap at word boundaries: the text
        // holding one wraps anywhere, unshaped, with its scroll bar always there, and only that
        // text, whichever way it is shown or typed; the widget's own mode never disagrees, or
        // showing the next text would lay it out the wrong way.
        auto nb = QtNotebook::New();
        const auto wrap = [&] {
            const QTextOption::WrapMode mode = nb->edit->document()->defaultTextOption().wrapMode();
            const bool bLong = mode == QTextOption::WrapAnywhere;
            const bool bUnshaped = (nb->edit->document()->defaultFont().styleStrategy() & QFont::PreferNoShaping) != 0;
            const auto policy = bLong ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
            return nb->edit->wordWrapMode() == mode && bUnshaped == bLong && nb->edit->verticalScrollBarPolicy() == policy
                ? mode
                : QTextOption::ManualWrap;
        };
        const std::string run(20000, 'w');
        const std::string prose = [] {
            std::string text;
            while (text.size() < 70000)
                text += "some words of a note ";
            return text;
        }();
        const std::pair<std::string, QTextOption::WrapMode> shown[] = {
            { "short " + run + " short", QTextOption::WrapAnywhere },
            { "short words", QTextOption::WrapAtWordBoundaryOrAnywhere },
            { prose + run, QTextOption::WrapAnywhere }, // big texts are kept laid out
            { prose, QTextOption::WrapAtWordBoundaryOrAnywhere },
            { prose + run, QTextOption::WrapAnywhere },
            { prose, QTextOption::WrapAtWordBoundaryOrAnywhere },
        };
        for (const auto& [text, mode] : shown) {
            nb->edit->SetText(text);
            QCOMPARE(wrap(), mode);
            QCOMPARE(nb->edit->GetText(), text);
        }
        // Typing into the long run, shown again from where it was kept.
        nb->edit->SetText(prose + run);
        nb->edit->SetSel(static_cast<long>(prose.size() + 1), static_cast<long>(prose.size() + 1));
        QTest::keyClicks(nb->edit, QStringLiteral("xy"));
        QCOMPARE(wrap(), QTextOption::WrapAnywhere);
        QCOMPARE(nb->edit->GetText(), prose + "wxy" + run.substr(1));
        nb->edit->SetText(prose);
        // A paste of such a run, and cutting it out again.
        nb->edit->moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText(QString::fromStdString(run));
        nb->edit->paste();
        QCOMPARE(wrap(), QTextOption::WrapAnywhere);
        QCOMPARE(nb->edit->GetText(), prose + run);
        nb->edit->SetSel(static_cast<long>(prose.size()), static_cast<long>(prose.size() + run.size()));
        nb->edit->cut();
        QCOMPARE(wrap(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        QCOMPARE(nb->edit->GetText(), prose);
    }

    void aLineShownInPiecesEditsAsOneLine()
    {
        // A long run is shown in pieces; keys at and over their ends, typing, pastes and undo act
        // on the text as a plain editor holding it as one line does, and it is saved so.
        auto nb = QtNotebook::New();
        std::string run;
        while (run.size() < 40000)
            run += "abcdefghij";
        run.replace(8189, 6, "MARKER"); // over the first piece's end
        const std::string original = run + "\r\nsecond line\r\n";
        nb->edit->SetText(original);
        QVERIFY(nb->edit->document()->blockCount() > 4);
        QCOMPARE(nb->edit->GetText(), original);
        QCOMPARE(nb->edit->GetLineCount(), 3);

        // The whole run's text is one paragraph of a plain editor beside it.
        QPlainTextEdit plain;
        plain.setPlainText(QString::fromStdString(original).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        const auto same = [&](const QString& step) {
            long start = 0;
            long end = 0;
            nb->edit->GetSel(start, end);
            const QTextCursor cursor = plain.textCursor();
            const QString text = plain.toPlainText();
            // Offsets in the notebook's bytes, where a line break is two.
            const auto offset = [&](int pos) { return static_cast<long>(pos + QStringView(text).left(pos).count(QLatin1Char('\n'))); };
            QVERIFY2(nb->edit->GetText() == QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString(), qPrintable(step));
            QVERIFY2(start == offset(cursor.selectionStart()) && end == offset(cursor.selectionEnd()),
                     qPrintable(step + QStringLiteral(": %1-%2 instead of %3-%4").arg(start).arg(end).arg(offset(cursor.selectionStart())).arg(offset(cursor.selectionEnd()))));
        };
        const QString pasted = QString(20000, QLatin1Char('p'));
        struct Key
        {
            int key;
            Qt::KeyboardModifiers modifiers;
            QString text;
        };
        const Key keys[] = {
            { Qt::Key_Left, {}, {} }, { Qt::Key_Right, {}, {} }, { Qt::Key_Left, Qt::ShiftModifier, {} },
            { Qt::Key_Right, Qt::ShiftModifier, {} }, { Qt::Key_Backspace, {}, {} }, { Qt::Key_Delete, {}, {} },
            { Qt::Key_X, {}, QStringLiteral("x") }, { Qt::Key_Return, {}, QStringLiteral("\r") },
            { Qt::Key_V, Qt::ControlModifier, {} },
        };
        std::mt19937 random(21);
        for (int step = 0; step < 400; ++step) {
            // Now and then the caret goes near the end of a piece.
            if (step % 8 == 0) {
                const std::vector<int> ends = [&] {
                    std::vector<int> found;
                    int removed = 0;
                    for (QTextBlock block = nb->edit->document()->begin().next(); block.isValid(); block = block.next()) {
                        if (block.charFormat().boolProperty(QTextFormat::UserProperty + 1))
                            found.push_back(block.position() - 1 - removed++);
                    }
                    return found;
                }();
                if (ends.empty())
                    break;
                const int at = std::max(0, ends[random() % ends.size()] + static_cast<int>(random() % 5) - 2);
                const long byte = at + QStringView(plain.toPlainText()).left(at).count(QLatin1Char('\n'));
                nb->edit->SetSel(byte, byte);
                QTextCursor cursor = plain.textCursor();
                cursor.setPosition(at);
                plain.setTextCursor(cursor);
            }
            const Key& key = keys[random() % std::size(keys)];
            if (key.key == Qt::Key_V && random() % 4 != 0)
                continue;
            QApplication::clipboard()->setText(pasted);
            QTest::sendKeyEvent(QTest::Click, nb->edit, Qt::Key(key.key), key.text, key.modifiers);
            QTest::sendKeyEvent(QTest::Click, &plain, Qt::Key(key.key), key.text, key.modifiers);
            same(QStringLiteral("step %1, key %2").arg(step).arg(key.key));
            if (QTest::currentTestFailed())
                return;
        }
        // Undone to the start and done again, every piece's end is still no line break.
        const std::string edited = nb->edit->GetText();
        while (nb->edit->document()->isUndoAvailable())
            nb->edit->undo();
        QCOMPARE(nb->edit->GetText(), original);
        while (nb->edit->document()->isRedoAvailable())
            nb->edit->redo();
        QCOMPARE(nb->edit->GetText(), edited);

        // A note command edits the notebook's text, which the pieces' ends never reach.
        nb->edit->SetText(kHeader + "first\r\n" + kHeader + original);
        const long inRun = static_cast<long>(2 * kHeader.size() + 7 + 8192);
        nb->edit->SetSel(inRun, inRun);
        InBatch(*nb->edit, [&] {
            nb->editView.OnDeleteNote();
        });
        QCOMPARE(nb->edit->GetText(), kHeader + "first\r\n");
        QCOMPARE(nb->doc.FindFolderByName("Trash")->m_text, kHeader + original);

        // A piece's characters deleted whole leave no empty line on screen, and a line break
        // typed there is one.
        const auto noEmptyLine = [&] {
            for (QTextBlock block = nb->edit->document()->begin(); block.next().isValid(); block = block.next())
                QVERIFY(block.length() > 1);
        };
        nb->edit->SetText(original);
        nb->edit->SetSel(8192, 16384);
        QTest::keyClick(nb->edit, Qt::Key_Delete);
        noEmptyLine();
        QTest::keyClick(nb->edit, Qt::Key_Return);
        QCOMPARE(nb->edit->GetText(), run.substr(0, 8192) + "\r\n" + run.substr(16384) + "\r\nsecond line\r\n");
        nb->edit->SetText(original);
        nb->edit->SetSel(8192, 16384);
        QApplication::clipboard()->setText(QStringLiteral("\nnew"));
        nb->edit->paste();
        noEmptyLine();
        QCOMPARE(nb->edit->GetText(), run.substr(0, 8192) + "\r\nnew" + run.substr(16384) + "\r\nsecond line\r\n");
        nb->edit->SetText(original);
        nb->edit->SetSel(8192, 16384);
        nb->edit->cut();
        QCoreApplication::processEvents();
        noEmptyLine();
        QCOMPARE(nb->edit->GetText(), run.substr(0, 8192) + run.substr(16384) + "\r\nsecond line\r\n");

        // Find and copy see the run whole.
        nb->edit->SetText(original);
        nb->edit->SetSel(0, 0);
        QVERIFY(nb->edit->Find(QStringLiteral("marker"), {}));
        long start = 0;
        long end = 0;
        nb->edit->GetSel(start, end);
        QCOMPARE(std::pair(start, end), std::pair(8189L, 8195L));
        nb->edit->copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("MARKER"));
        nb->edit->SetSel(20000, 20000);
        QVERIFY(nb->edit->Find(QStringLiteral("MARKER"), QTextDocument::FindBackward | QTextDocument::FindCaseSensitively));
        nb->edit->GetSel(start, end);
        QCOMPARE(std::pair(start, end), std::pair(8189L, 8195L));
        QVERIFY(!nb->edit->Find(QStringLiteral("marker"), QTextDocument::FindWholeWords));

        // A piece never parts an accent or half of a surrogate pair from its character.
        std::string accented = "x";
        while (accented.size() < 60000)
            accented += "e\xCC\x81\xF0\x9F\x98\x80";
        nb->edit->SetText(accented);
        QVERIFY(nb->edit->document()->blockCount() > 2);
        for (QTextBlock block = nb->edit->document()->begin(); block.isValid(); block = block.next()) {
            const QChar first = block.text().front();
            QVERIFY(!first.isMark() && !first.isLowSurrogate());
        }

        // A paragraph of words too long to lay out whole ends its pieces between words.
        std::string words;
        while (words.size() < 100000)
            words += "some words of a note ";
        nb->edit->SetText(words);
        QCOMPARE(nb->edit->GetText(), words);
        QVERIFY(nb->edit->document()->blockCount() > 2);
        for (QTextBlock block = nb->edit->document()->begin(); block.next().isValid(); block = block.next())
            QVERIFY(block.text().endsWith(QLatin1Char(' ')));
    }

    void findSelectsTheNextMatch()
    {
        auto nb = QtNotebook::New();
        nb->edit->SetText("Alpha alphabet alpha");
        nb->edit->SetSel(0, 0);
        nb->edit->ShowFind();
        auto* pFind = nb->edit->findChild<QtFindDialog*>(QStringLiteral("findDialog"));
        QVERIFY(pFind);
        Grab(pFind);
        pFind->findChild<QLineEdit*>(QStringLiteral("findText"))->setText(QStringLiteral("alpha"));
        pFind->findChild<QCheckBox*>(QStringLiteral("findWholeWord"))->setChecked(true);
        QVERIFY(pFind->FindNext());
        QCOMPARE(nb->edit->textCursor().selectionStart(), 0);
        QVERIFY(pFind->FindNext());
        QCOMPARE(nb->edit->textCursor().selectionStart(), 15);
        QVERIFY(!pFind->FindNext());
        QCOMPARE(pFind->findChild<QLabel*>(QStringLiteral("findStatus"))->text(), QStringLiteral("Cannot find \"alpha\"."));
        pFind->findChild<QRadioButton*>(QStringLiteral("findUp"))->setChecked(true);
        QVERIFY(pFind->FindNext());
        QCOMPARE(nb->edit->textCursor().selectionStart(), 0);
        nb->edit->SetSel(-1, 0);
        pFind->findChild<QCheckBox*>(QStringLiteral("findMatchCase"))->setChecked(true);
        QVERIFY(pFind->FindNext());
        QCOMPARE(nb->edit->textCursor().selectionStart(), 15);
    }
};

QTEST_MAIN(QtEditControlTest)
#include "QtEditControlTest.moc"
