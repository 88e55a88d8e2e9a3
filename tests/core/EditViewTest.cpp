#include "NoteMarks.h"
#include "NotebookFixture.h"
#include "dialogs/CChooseFolderDlg.h"
#include "platform/CommandIds.h"
#include "platform/Printer.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------\r\n";

// A notebook on screen in Main with the marked text, an empty Trash and no changes.
std::unique_ptr<Notebook> ShowingMain(const std::string& marked)
{
    auto nb = Notebook::New();
    LoadMarked(nb->edit, marked);
    nb->doc.SetModifiedFlag(false);
    return nb;
}

// Records what it is asked to print and answers with a set error.
class RecordingPrinter : public Printer
{
public:
    Destination GetDestination() const override
    {
        if (!m_pdfPath.empty())
            return Destination::PdfFile;
        return m_bHasPrinter ? Destination::Printer : Destination::None;
    }
    std::string GetPdfPath() const override { return m_pdfPath; }
    void PrintToPdf(const std::string& path) override { m_pdfPath = path; }
    std::optional<std::string> PrintText(const std::string& text, int marginTwips) override
    {
        m_printed += text + "@" + std::to_string(marginTwips) + (m_pdfPath.empty() ? "" : ">" + m_pdfPath) + ";";
        return m_error;
    }
    bool m_bHasPrinter = true;
    std::string m_pdfPath;
    std::string m_printed;
    std::optional<std::string> m_error;
};

} // namespace

TEST(EditViewKeys, ShiftReturnTypesAHeaderInsteadOfTheReturn)
{
    auto nb = ShowingMain("ab|cd");
    nb->editView.OnKeyDown(Key::Shift);
    EXPECT_TRUE(nb->editView.OnChar('\r'));
    EXPECT_EQ(Marked(nb->edit), "ab\r\n" + kHeader + "|cd");
    EXPECT_FALSE(nb->editView.m_bShiftDown);
    EXPECT_TRUE(nb->doc.IsModified());
}

TEST(EditViewKeys, ShiftCountsOnlyUntilUsedReleasedOrTheFocusGoes)
{
    auto nb = ShowingMain("|");
    auto& view = nb->editView;
    EXPECT_FALSE(view.OnChar('\r'));

    // Shift down, Return, Return: one header, then a plain line break.
    view.OnKeyDown(Key::Shift);
    EXPECT_TRUE(view.OnChar('\r'));
    EXPECT_FALSE(view.OnChar('\r'));

    view.OnKeyDown(Key::Shift);
    view.OnKeyUp(Key::Shift);
    EXPECT_FALSE(view.OnChar('\r'));

    view.OnKeyDown(Key::Shift);
    view.OnKillFocus();
    EXPECT_FALSE(view.OnChar('\r'));

    // Other characters typed with Shift held leave it held.
    view.OnKeyDown(Key::Shift);
    EXPECT_FALSE(view.OnChar('A'));
    view.OnKeyDown(Key::Return);
    EXPECT_TRUE(view.OnChar('\r'));

    EXPECT_EQ(nb->edit.GetText(), kHeader + kHeader);
}

TEST(EditViewKeys, AssignableFunctionKeysSendTheNote)
{
    const std::pair<Key, const char*> keys[] = {
        { Key::F4, "F4" }, { Key::F5, "F5" }, { Key::F7, "F7" }, { Key::F8, "F8" },
        { Key::F9, "F9" }, { Key::F11, "F11" }, { Key::F12, "F12" },
    };
    for (const auto& [key, name] : keys) {
        SCOPED_TRACE(name);
        auto nb = ShowingMain("------ one|\r\n");
        nb->doc.FindFolderByName("Trash")->SetKey(name, "Move");
        nb->editView.OnKeyDown(key);
        EXPECT_EQ(nb->TextOf("Trash"), "------ one\r\n");
        EXPECT_EQ(Marked(nb->edit), "|");
    }
}

TEST(EditViewKeys, OtherKeysSendNothing)
{
    const std::pair<Key, const char*> keys[] = {
        { Key::F1, "F1" }, { Key::F2, "F2" }, { Key::F3, "F3" }, { Key::F6, "F6" }, { Key::F10, "F10" },
        { Key::Return, "Return" }, { Key::Delete, "Delete" }, { Key::Other, "Other" },
    };
    for (const auto& [key, name] : keys) {
        SCOPED_TRACE(name);
        auto nb = ShowingMain("------ o[n]e\r\n");
        nb->doc.FindFolderByName("Trash")->SetKey(name, "Move");
        nb->editView.OnKeyDown(key);
        nb->editView.OnKeyUp(key);
        EXPECT_EQ(Marked(nb->edit), "------ o[n]e\r\n");
        EXPECT_EQ(nb->TextOf("Trash"), "");
        EXPECT_FALSE(nb->doc.IsModified());
        EXPECT_PROMPTS_DONE(*nb);
    }
}

TEST(EditViewMouse, ContextMenuActsOnTheNoteAtTheCaret)
{
    auto nb = ShowingMain("------ one\r\n|a\r\n------ two\r\nb\r\n");
    nb->prompts.ExpectPopupMenu(cmd::NoteContextMenu, 0);
    nb->editView.OnRButtonDown(300, 40);
    EXPECT_EQ(Marked(nb->edit), "------ one\r\n|a\r\n------ two\r\nb\r\n");

    nb->prompts.ExpectPopupMenu(cmd::NoteContextMenu, cmd::DeleteNote);
    nb->editView.OnRButtonDown(300, 40);
    EXPECT_EQ(Marked(nb->edit), "|------ two\r\nb\r\n");
    EXPECT_EQ(nb->TextOf("Trash"), "------ one\r\na\r\n");

    nb->prompts.ExpectPopupMenu(cmd::NoteContextMenu, cmd::NewNote);
    nb->editView.OnRButtonDown(5, 5);
    // The caret stood at the start of a non-empty line: an empty line stays above the header.
    EXPECT_EQ(Marked(nb->edit), "\r\n" + kHeader + "|------ two\r\nb\r\n");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(EditViewCommands, TheNoteCommandsActOnTheNoteAtTheCaretAndTheFolderCommandsAreNotTheViews)
{
    // The window sends a command to the editor's view when the view says it is its own: each
    // such command must do what its menu item says.
    auto nb = ShowingMain("------ one|\r\n------ two\r\nb\r\n");
    EXPECT_TRUE(CQuillboxEditView::HasCommand(cmd::DeleteNote));
    EXPECT_TRUE(nb->editView.OnCommand(cmd::DeleteNote));
    EXPECT_EQ(Marked(nb->edit), "|------ two\r\nb\r\n");
    EXPECT_EQ(nb->TextOf("Trash"), "------ one\r\n");

    EXPECT_TRUE(CQuillboxEditView::HasCommand(cmd::NewNote));
    EXPECT_TRUE(nb->editView.OnCommand(cmd::NewNote));
    EXPECT_EQ(Marked(nb->edit), "\r\n" + kHeader + "|------ two\r\nb\r\n");

    EXPECT_TRUE(CQuillboxEditView::HasCommand(cmd::MoveCopyNote));
    nb->prompts.ExpectChooseFolder([](CChooseFolderDlg&) { return false; });
    EXPECT_TRUE(nb->editView.OnCommand(cmd::MoveCopyNote));

    EXPECT_TRUE(CQuillboxEditView::HasCommand(cmd::PrintFolder));
    nb->prompts.ExpectMessage("Printing is not available.");
    EXPECT_TRUE(nb->editView.OnCommand(cmd::PrintFolder));

    // Folder and window commands go to the document or the window even from the editor.
    const std::string before = Marked(nb->edit);
    for (int id : { cmd::NewFolder, cmd::DeleteFolder, cmd::AssignKeys, cmd::EditCopy, cmd::ToggleView }) {
        EXPECT_FALSE(CQuillboxEditView::HasCommand(id)) << id;
        EXPECT_FALSE(nb->editView.OnCommand(id)) << id;
    }
    EXPECT_EQ(nb->tree.Dump(), "Main,Trash");
    EXPECT_EQ(Marked(nb->edit), before);
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(EditViewCommands, PrintFolderPrintsTheWholeTextWithOneInchMargins)
{
    ScriptedPrompts prompts;
    RecordingPrinter printer;
    CQuillboxDoc doc { Services { &prompts, nullptr, nullptr, &printer } };
    TextBuffer edit;
    CQuillboxEditView view { &doc, edit };
    view.OnCreate();
    LoadMarked(edit, "------ one\r\n[body]\r\n");

    EXPECT_TRUE(view.OnCommand(cmd::PrintFolder));
    EXPECT_EQ(printer.m_printed, "------ one\r\nbody\r\n@1440;");

    printer.m_error = "The printer is out of paper.";
    prompts.ExpectMessage("The printer is out of paper.");
    view.OnPrintFolder();
    EXPECT_EQ(Marked(edit), "------ one\r\n[body]\r\n");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(prompts.Failures(), std::vector<std::string> {});
    EXPECT_EQ(prompts.Pending(), 0u);
}

TEST(EditViewCommands, PrintFolderWithoutAPrinterSaysSo)
{
    auto nb = ShowingMain("------ one|\r\n");
    nb->prompts.ExpectMessage("Printing is not available.");
    nb->editView.OnPrintFolder();
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(EditViewCommands, PrintFolderWithNoPrinterOffersAPdfFileTheUserNamesEachTime)
{
    ScriptedPrompts prompts;
    RecordingPrinter printer;
    printer.m_bHasPrinter = false;
    CQuillboxDoc doc { Services { &prompts, nullptr, nullptr, &printer } };
    TextBuffer edit;
    CQuillboxEditView view { &doc, edit };
    view.OnCreate();
    LoadMarked(edit, "------ one\r\n|");
    const std::string offer = "No printer is available. Print the folder to a PDF file instead?";

    // No, or no file chosen: nothing is printed.
    prompts.ExpectYesNo(offer, false);
    view.OnPrintFolder();
    prompts.ExpectYesNo(offer, true);
    prompts.ExpectSaveFile(std::nullopt);
    view.OnPrintFolder();
    EXPECT_EQ(printer.m_printed, "");

    prompts.ExpectYesNo(offer, true);
    prompts.ExpectSaveFile("/home/me/one.pdf", [](const FileChooser& chooser) {
        EXPECT_EQ(chooser.defaultExt, "pdf");
        EXPECT_TRUE(chooser.bPromptOverwrite);
        EXPECT_EQ(chooser.initialPath, "");
    });
    view.OnPrintFolder();
    // Each later print asks for its file again, offering the last one, and may be cancelled.
    prompts.ExpectSaveFile("/home/me/two.pdf", [](const FileChooser& chooser) {
        EXPECT_TRUE(chooser.bPromptOverwrite);
        EXPECT_EQ(chooser.initialPath, "/home/me/one.pdf");
    });
    view.OnPrintFolder();
    prompts.ExpectSaveFile(std::nullopt, [](const FileChooser& chooser) { EXPECT_EQ(chooser.initialPath, "/home/me/two.pdf"); });
    view.OnPrintFolder();
    EXPECT_EQ(printer.m_printed, "------ one\r\n@1440>/home/me/one.pdf;------ one\r\n@1440>/home/me/two.pdf;");
    EXPECT_EQ(prompts.Failures(), std::vector<std::string> {});
    EXPECT_EQ(prompts.Pending(), 0u);
}

TEST(EditViewText, TypingStopsAtTheLimit)
{
    auto nb = ShowingMain("|");
    nb->edit.SetText(std::string(CQuillboxEditView::kTextLimit - 1, 'x'));
    nb->edit.TypeChar('a');
    nb->edit.TypeChar('b');
    EXPECT_EQ(nb->edit.GetText(), "a" + std::string(639999, 'x'));
}

TEST(EditViewText, AFolderLongerThanTheLimitLoadsAndStoresWhole)
{
    auto nb = ShowingMain("|");
    std::string big = "------ big\r\n";
    while (big.size() <= 700000)
        big += "a line of a long note\r\n";
    big += "------ last\r\nend\r\n";
    nb->doc.AddFolder(false, "Big", big, true, {}, {});
    EXPECT_EQ(nb->edit.GetText(), big);

    nb->Select("Main");
    EXPECT_EQ(nb->TextOf("Big"), big);
    nb->Select("Big");
    EXPECT_EQ(nb->edit.GetText(), big);

    // Deleting a note still works over the limit, and the rest stays whole.
    nb->edit.SetSel(static_cast<long>(big.size()) - 3, static_cast<long>(big.size()) - 3);
    nb->editView.OnDeleteNote();
    EXPECT_EQ(nb->TextOf("Trash"), "------ last\r\nend\r\n");
    nb->Select("Main");
    EXPECT_EQ(nb->TextOf("Big"), big.substr(0, big.size() - 18));
}
