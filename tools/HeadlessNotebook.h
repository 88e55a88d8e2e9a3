#pragma once

#include <stdexcept>
#include <string>

#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "platform/Clock.h"
#include "platform/KeysText.h"
#include "platform/MemoryTree.h"
#include "platform/Prompts.h"
#include "platform/TextBuffer.h"
#include "tree/CQuillboxTreeView.h"

// Prompts for a program with nobody to answer them: opening, saving and reading a notebook
// never ask, so any prompt is a fault and stops the program with an exception.
class FailingPrompts : public Prompts
{
public:
    void MessageBox(const std::string& text) override { Fail("message \"" + text + "\""); }
    bool AskYesNo(const std::string& text) override { Fail("question \"" + text + "\""); }
    bool RunInputDlg(CInputDlg&) override { Fail("input dialog"); }
    bool RunChooseFolderDlg(CChooseFolderDlg&) override { Fail("Choose Folder dialog"); }
    bool RunAssignKeysDlg(CAssignKeysDlg&) override { Fail("Assign Keys dialog"); }
    bool RunNewNotePrefsDlg(CNewNotePrefsDlg&) override { Fail("Note Header dialog"); }
    bool RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg&) override { Fail("Delete Folder dialog"); }
    std::optional<std::string> ChooseSaveFile(const FileChooser&) override { Fail("file chooser"); }
    std::optional<std::string> ChooseOpenFile(const FileChooser&) override { Fail("file chooser"); }
    int TrackPopupMenu(int, int, int) override { Fail("pop-up menu"); }

private:
    [[noreturn]] static void Fail(const std::string& what)
    {
        throw std::logic_error("unexpected prompt: " + what);
    }
};

// A notebook with its two views over headless controls and the machine's clock, put together
// as the program puts a notebook window together.
struct HeadlessNotebook
{
    FailingPrompts prompts;
    SystemClock clock;
    KeysTextHolder keys;
    FocusScope focus;
    TextBuffer edit { &focus };
    MemoryTree tree { &focus };
    CQuillboxDoc doc { Services { &prompts, &clock, &keys, nullptr } };
    CQuillboxEditView editView { &doc, edit };
    CQuillboxTreeView treeView { &doc, tree };

    HeadlessNotebook()
    {
        editView.OnCreate();
        doc.BindViews(&editView, &treeView);
    }
    HeadlessNotebook(const HeadlessNotebook&) = delete;
    HeadlessNotebook& operator=(const HeadlessNotebook&) = delete;

    // A folder's notes: the editor's text for the selected folder, else its stored text.
    std::string TextOf(const Folder* pFolder) const
    {
        return pFolder == doc.m_pSelFolder ? edit.GetText() : pFolder->m_text;
    }
};
