#pragma once

#include <string>
#include <vector>

#include "platform/TreeControl.h"

class EditControl;
class Folder;

// What the document, and each view of the other, asks of the notebook's two views. The views
// (CQuillboxEditView, CQuillboxTreeView) are built on the document and implement these, so the
// document knows them by nothing more.

// The note editor: it holds the selected folder's text.
class EditorView
{
public:
    virtual EditControl& GetEditCtrl() const = 0;
    // Types a new note's header line at the caret, on a line of its own.
    virtual void InsertNoteHeader() = 0;
    // Runs a note command; false when the editor has none of that id.
    virtual bool OnCommand(int id) = 0;

protected:
    ~EditorView() = default;
};

// The folder tree: one item per folder.
class TreeView
{
public:
    virtual TreeControl& GetTreeCtrl() const = 0;
    // A new folder's item, under hParent (expanded) or at the top level; the document links the
    // folder to it.
    virtual TreeItem InsertFolderItem(const std::string& name, bool bSorted, TreeItem hParent) = 0;
    // Items for new folders in name order, as InsertFolderItem for each in turn would leave the
    // tree, in the order of `folders`. A folder's parent comes before it or has its item already.
    virtual std::vector<TreeItem> InsertFolderItems(const std::vector<Folder*>& folders) = 0;
    // Gives the editor the keyboard, the caret at the end of its text when asked.
    virtual void FocusEditor(bool bCaretToEnd) = 0;

protected:
    ~TreeView() = default;
};
