#pragma once

#include <string>
#include <vector>

#include "platform/Keys.h"
#include "platform/TreeControl.h"

class CQuillboxDoc;
class Folder;

// The folder tree's behaviour over a TreeControl: one item per folder, the exchange of folder
// text with the editor when the selection moves, and its keyboard and mouse handling.
class CQuillboxTreeView
{
public:
    CQuillboxTreeView(CQuillboxDoc* pDoc, TreeControl& tree);

    CQuillboxDoc* GetDocument() const { return m_pDoc; }
    TreeControl& GetTreeCtrl() const { return m_tree; }

    // A new folder's item, under hParent (expanded) or at the top level; the document links the
    // folder to it.
    TreeItem InsertFolderItem(const std::string& name, bool bSorted, TreeItem hParent);
    // Items for new folders in name order, as InsertFolderItem for each in turn would leave the
    // tree, in the order of `folders`. A folder's parent comes before it or has its item already.
    std::vector<TreeItem> InsertFolderItems(const std::vector<Folder*>& folders);
    void FocusEditor(bool bCaretToEnd);

    // The selection is about to move to hNewItem (the control's selection-changing event).
    void OnSelChanging(TreeItem hNewItem);

    // Events forwarded by the control. OnKeyDown returns true when the control's normal
    // handling should follow. OnLButtonDown runs after the control's own handling, with the
    // item under the click (kNoItem beside all items).
    bool OnKeyDown(Key key);
    void OnKeyUp(Key key);
    void OnLButtonDown(TreeItem hHitItem, bool bShift);
    void OnRButtonDown(int x, int y);

    bool m_bShiftDown = false;

private:
    CQuillboxDoc* m_pDoc;
    TreeControl& m_tree;
};
