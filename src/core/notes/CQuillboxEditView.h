#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "doc/DocViews.h"
#include "platform/Keys.h"

class CQuillboxDoc;
class Folder;

// The note editor's behaviour: the note layout, the note commands and the editor's keyboard,
// focus and mouse handling, over an EditControl that holds the selected folder's text.
class CQuillboxEditView : public EditorView
{
public:
    CQuillboxEditView(CQuillboxDoc* pDoc, EditControl& edit);

    CQuillboxDoc* GetDocument() const { return m_pDoc; }
    EditControl& GetEditCtrl() const override { return m_edit; }

    // Sets the text limit; called once the control exists.
    void OnCreate();

    // Note layout
    void ScanHeaderLines();
    bool FindNoteAtCursor(long& start, long& end);
    void InsertNoteHeader() override;

    // Note commands
    void OnNewNote();
    void OnDeleteNote();
    void OnMoveCopyNote();
    // Files the note at the cursor: `sendKey` is "F2" (the user picks the folder), the Trash's
    // name, or an assigned key's name (the folder that holds the key).
    void SendNoteToFolder(const std::string& sendKey);
    // A note at the end of pFolder's notes, as Shift+Return in the folder tree makes one: the
    // folder is selected, a header typed at the end of its text (unless bHeaderTyped: a new
    // folder has one already) and `body` after it; then the folder that was selected before is
    // again. False when the folder cannot hold it all (the editor's limit).
    bool AppendNote(Folder* pFolder, const std::string& body, bool bHeaderTyped);
    void DeleteNoteAtCursor();
    void OnPrintFolder();

    // Events forwarded by the control. OnKeyDown and OnKeyUp always leave the key to the
    // control's normal handling afterwards; OnChar returns true when it consumed the character.
    void OnKeyDown(Key key);
    void OnKeyUp(Key key);
    bool OnChar(char ch);
    void OnKillFocus();
    void OnRButtonDown(int x, int y);

    // Command routing: true when the view handles the command (and it ran).
    bool OnCommand(int id) override;
    static bool HasCommand(int id);

    static constexpr long kTextLimit = 640000;
    static constexpr int kMarginTwips = 1440;

    bool m_bShiftDown = false;
    std::vector<int> m_headerLines;

private:
    CQuillboxDoc* m_pDoc;
    EditControl& m_edit;
};
