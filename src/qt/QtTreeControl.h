#pragma once

#include <QIcon>
#include <QTreeWidget>

#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/TreeControl.h"

class CQuillboxTreeView;
struct KeyAssignment;
class TextCodec;

// The folder tree's control: one column of folder names, sorted without regard to case as the
// core sorts them, a closed-folder image on every item and an open one on the selected item.
// The selection handler runs synchronously before a new selection shows, for clicks and arrow
// keys as well as for SelectItem. Keys and clicks go to the tree view.
class QtTreeControl : public QTreeWidget, public TreeControl
{
    Q_OBJECT

public:
    explicit QtTreeControl(TextCodec& codec, QWidget* parent = nullptr);
    ~QtTreeControl() override;

    void SetView(CQuillboxTreeView* pView) { m_pView = pView; }
    // What runs the view's handlers of keys, clicks and selection changes as commands.
    void SetCommandRunner(std::function<void(const std::function<void()>&)> runner) { m_runCommand = std::move(runner); }
    // Where an item's key comes from, for what a screen reader says of it (null: no key).
    void SetKeyLookup(std::function<const KeyAssignment*(TreeItem)> lookup) { m_keyOf = std::move(lookup); }
    // What assistive technology reads of an item: its name and key, and what the key does.
    QVariant AccessibleData(const QTreeWidgetItem* pItem, const QString& name, int role) const;

    TreeItem InsertItem(const std::string& text, TreeItem parent, bool sorted) override;
    std::vector<TreeItem> InsertSorted(const std::vector<TreeInsert>& batch) override;
    void Expand(TreeItem item) override;
    void DeleteItem(TreeItem item) override;
    std::string GetItemText(TreeItem item) const override;
    void SetItemText(TreeItem item, const std::string& text) override;
    TreeItem GetParentItem(TreeItem item) const override;
    void SortChildren(TreeItem parent) override;
    TreeItem GetSelectedItem() const override { return m_selected; }
    void SelectItem(TreeItem item) override;
    void SetSelectionHandler(std::function<void(TreeItem)> handler) override { m_onSelChanging = std::move(handler); }
    bool HasFocus() const override;
    void SetFocus() override;

    // The widget item of a handle, or null; and back.
    QTreeWidgetItem* ItemOf(TreeItem item) const;
    TreeItem HandleOf(const QTreeWidgetItem* pItem) const;

signals:
    // The selected folder has changed, by the user or by SelectItem.
    void selectionShown();

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Run(const std::function<void()>& handler);
    void OnMousePress(QMouseEvent* event);
    // The classic style draws the branch lines and their boxes in the palette's Dark colour,
    // which a dark palette puts next to the background: draw them halfway to the text instead.
    void ShowBranchLines();
    // Holds painting and scrolling until control returns to the event loop.
    void HoldUpdates();
    // A new item outside the widget, known by its new handle.
    QTreeWidgetItem* NewItem(std::string_view text, TreeItem& handle);
    // The item that holds the children of a handle: the invisible root for kNoItem.
    QTreeWidgetItem* ParentOf(TreeItem parent) const;
    void Forget(QTreeWidgetItem* pItem);

    TextCodec& m_codec;
    QIcon m_folderIcon; // closed, and open while selected
    CQuillboxTreeView* m_pView = nullptr;
    std::function<void(TreeItem)> m_onSelChanging;
    std::function<void(const std::function<void()>&)> m_runCommand;
    std::function<const KeyAssignment*(TreeItem)> m_keyOf;
    std::unordered_map<TreeItem, QTreeWidgetItem*> m_items;
    TreeItem m_nextItem = 1;
    TreeItem m_selected = kNoItem;
    // Set while the control moves Qt's current item itself: the handler has run already.
    int m_nSilent = 0;
    bool m_bUpdatesHeld = false;
};
