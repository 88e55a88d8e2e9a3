#pragma once

#include <string>
#include <vector>

#include "doc/DocViews.h"
#include "platform/Keys.h"

class CQuillboxDoc;

// The folder tree's behaviour over a TreeControl: one item per folder, the exchange of folder
// text with the editor when the selection moves, and its keyboard and mouse handling.
class CQuillboxTreeView : public TreeView
{
public:
    CQuillboxTreeView(CQuillboxDoc* pDoc, TreeControl& tree);

    CQuillboxDoc* GetDocument() const { return m_pDoc; }
    TreeControl& GetTreeCtrl() const override { return m_tree; }

    TreeItem InsertFolderItem(const std::string& name, bool bSorted, TreeItem hParent) override;
    std::vector<TreeItem> InsertFolderItems(const std::vector<Folder*>& folders) override;
    void FocusEditor(bool bCaretToEnd) override;

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
