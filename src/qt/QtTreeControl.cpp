#include "qt/QtTreeControl.h"

#include <QContextMenuEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTimer>

#include <algorithm>
#include <climits>

#include "model/KeyAssignment.h"
#include "model/NotebookNames.h"
#include "platform/NameOrder.h"
#include "qt/QtKeys.h"
#include "qt/TextCodec.h"
#include "tree/CQuillboxTreeView.h"

namespace {

// An item ordered as the core orders names: by their bytes, without regard to ASCII case. It
// holds its name's bytes and shown text, its handle and its image itself rather than as item
// data, which would cost allocations for each of a notebook's items.
class FolderItem : public QTreeWidgetItem
{
public:
    FolderItem(std::string bytes, QString name, TreeItem handle, const QIcon& icon)
        : m_bytes(std::move(bytes))
        , m_handle(handle)
        , m_name(std::move(name))
        , m_icon(icon)
    {
    }

    QVariant data(int column, int role) const override
    {
        if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
            return m_name;
        if (column == 0 && role == Qt::DecorationRole)
            return m_icon;
        // Asked only of items in the control, where a screen reader finds them.
        if (column == 0 && (role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole) && treeWidget())
            return static_cast<const QtTreeControl*>(treeWidget())->AccessibleData(this, m_name, role);
        return QTreeWidgetItem::data(column, role);
    }
    void Rename(std::string bytes, QString name)
    {
        m_bytes = std::move(bytes);
        m_name = std::move(name);
        emitDataChanged();
    }
    bool operator<(const QTreeWidgetItem& other) const override
    {
        return CompareNoCase(Bytes(), static_cast<const FolderItem&>(other).Bytes()) < 0;
    }
    std::string_view Bytes() const { return m_bytes; }

    // A std::string: most names fit in it without an allocation of their own.
    std::string m_bytes;
    const TreeItem m_handle;

private:
    QString m_name;
    const QIcon& m_icon;
};

// Every item of the control is a FolderItem.
const FolderItem* AsFolder(const QTreeWidgetItem* pItem)
{
    return static_cast<const FolderItem*>(pItem);
}

// The name of a widget item's child by its index, as the name order rules read it.
auto ChildName(const QTreeWidgetItem* pParent)
{
    return [pParent](size_t i) -> std::string_view { return AsFolder(pParent->child(static_cast<int>(i)))->Bytes(); };
}

std::string BytesOf(const QTreeWidgetItem* pItem)
{
    return std::string(AsFolder(pItem)->Bytes());
}

// Qt lays out an expanded tree by recursing once per level, so a notebook nested tens of
// thousands of levels deep would exhaust the stack: the program expands, and scrolls to, no item
// this many levels below the top.
constexpr int kMaxShownDepth = 100;

// Deletes an item with its subtree. Qt deletes an item's children recursively, one stack frame
// per level, so a subtree nested many levels deep goes in pieces of bounded depth, deepest first.
void DeleteSubtree(QTreeWidgetItem* pItem)
{
    constexpr int kPieceDepth = 1000;
    std::vector<QTreeWidgetItem*> pieces;
    std::vector<std::pair<QTreeWidgetItem*, int>> pending { { pItem, 0 } };
    while (!pending.empty()) {
        const auto [pNext, depth] = pending.back();
        pending.pop_back();
        if (depth % kPieceDepth == 0)
            pieces.push_back(pNext);
        for (int i = pNext->childCount() - 1; i >= 0; --i)
            pending.emplace_back(pNext->child(i), depth + 1);
    }
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it)
        delete *it;
}

int DepthOf(const QTreeWidgetItem* pItem, int limit)
{
    int depth = 0;
    for (const QTreeWidgetItem* pUp = pItem->parent(); pUp && depth <= limit; pUp = pUp->parent())
        ++depth;
    return depth;
}

} // namespace

QtTreeControl::QtTreeControl(TextCodec& codec, QWidget* parent)
    : QTreeWidget(parent)
    , m_codec(codec)
    , m_folderIcon(QStringLiteral(":/images/folder-closed.svg"))
{
    m_folderIcon.addFile(QStringLiteral(":/images/folder-open.svg"), QSize(), QIcon::Selected);
    setObjectName(QStringLiteral("folderTree"));
    setAccessibleName(tr("Folders"));
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setIconSize(QSize(16, 16));
    // Scrolling to each new current item would lay out the whole tree every time a folder is
    // added; HoldUpdates scrolls once, when control returns to the event loop.
    setAutoScroll(false);
    // The classic look: dotted lines between the items and plus/minus buttons.
    if (QStyle* pStyle = QStyleFactory::create(QStringLiteral("Windows"))) {
        pStyle->setParent(this);
        setStyle(pStyle);
    }
    ShowBranchLines();
}

QtTreeControl::~QtTreeControl()
{
    // The views behind the selection handler may be gone: no selection change runs from here.
    m_onSelChanging = nullptr;
    ++m_nSilent;
    while (QTreeWidgetItem* pItem = topLevelItem(topLevelItemCount() - 1))
        DeleteSubtree(pItem);
}

QTreeWidgetItem* QtTreeControl::ItemOf(TreeItem item) const
{
    const auto it = m_items.find(item);
    return it == m_items.end() ? nullptr : it->second;
}

TreeItem QtTreeControl::HandleOf(const QTreeWidgetItem* pItem) const
{
    return pItem ? AsFolder(pItem)->m_handle : kNoItem;
}

QVariant QtTreeControl::AccessibleData(const QTreeWidgetItem* pItem, const QString& name, int role) const
{
    const KeyAssignment* pKey = m_keyOf ? m_keyOf(HandleOf(pItem)) : nullptr;
    if (!pKey)
        return role == Qt::AccessibleTextRole ? QVariant(name) : QVariant();
    const QString key = QString::fromStdString(pKey->key);
    if (role == Qt::AccessibleTextRole)
        return tr("%1, key %2").arg(name, key);
    return pKey->function == kCopyFunction ? tr("%1 copies the note at the cursor into this folder").arg(key)
                                           : tr("%1 moves the note at the cursor into this folder").arg(key);
}

QTreeWidgetItem* QtTreeControl::ParentOf(TreeItem parent) const
{
    return parent == kNoItem ? invisibleRootItem() : ItemOf(parent);
}

QTreeWidgetItem* QtTreeControl::NewItem(std::string_view text, TreeItem& handle)
{
    handle = m_nextItem++;
    auto* pItem = new FolderItem(std::string(text), m_codec.Decode(text), handle, m_folderIcon);
    m_items.emplace(handle, pItem);
    return pItem;
}

TreeItem QtTreeControl::InsertItem(const std::string& text, TreeItem parent, bool sorted)
{
    QTreeWidgetItem* pParent = ParentOf(parent);
    if (!pParent)
        return kNoItem;
    TreeItem handle = kNoItem;
    QTreeWidgetItem* pItem = NewItem(text, handle);
    const int at = sorted ? static_cast<int>(SortedPosition(static_cast<size_t>(pParent->childCount()), text, ChildName(pParent)))
                          : pParent->childCount();
    HoldUpdates();
    ++m_nSilent;
    pParent->insertChild(at, pItem);
    --m_nSilent;
    return handle;
}

std::vector<TreeItem> QtTreeControl::InsertSorted(const std::vector<TreeInsert>& batch)
{
    std::vector<TreeItem> handles(batch.size(), kNoItem);
    std::vector<QTreeWidgetItem*> items(batch.size());
    // The new children of each new item, and of each item already in the widget.
    std::vector<std::vector<size_t>> newChildren(batch.size());
    std::vector<std::pair<QTreeWidgetItem*, std::vector<size_t>>> oldParents;
    std::unordered_map<QTreeWidgetItem*, size_t> oldParentIndex;
    for (size_t i = 0; i < batch.size(); ++i) {
        items[i] = NewItem(batch[i].text, handles[i]);
        if (batch[i].batchParent >= 0) {
            newChildren.at(static_cast<size_t>(batch[i].batchParent)).push_back(i);
            continue;
        }
        QTreeWidgetItem* pParent = ParentOf(batch[i].parent);
        if (!pParent)
            pParent = invisibleRootItem();
        const auto [it, bNew] = oldParentIndex.emplace(pParent, oldParents.size());
        if (bNew)
            oldParents.emplace_back(pParent, std::vector<size_t>());
        oldParents[it->second].second.push_back(i);
    }
    auto inOrder = [&](std::vector<size_t>& group) {
        SortByName(group, [&](size_t i) -> std::string_view { return batch[i].text; });
        QList<QTreeWidgetItem*> list;
        list.reserve(static_cast<qsizetype>(group.size()));
        for (size_t i : group)
            list.append(items[i]);
        return list;
    };
    // New items take their children while still outside the widget, where that costs nothing;
    // the widget then takes each new subtree in one insertion.
    for (size_t i = 0; i < batch.size(); ++i) {
        if (!newChildren[i].empty())
            items[i]->addChildren(inOrder(newChildren[i]));
    }
    HoldUpdates();
    ++m_nSilent;
    for (auto& [pParent, group] : oldParents) {
        const QList<QTreeWidgetItem*> list = inOrder(group);
        if (pParent->childCount() == 0) {
            pParent->addChildren(list);
            continue;
        }
        std::vector<std::string_view> names;
        names.reserve(group.size());
        for (size_t i : group)
            names.push_back(batch[i].text);
        const std::vector<size_t> positions = SortedPositions(static_cast<size_t>(pParent->childCount()), names, ChildName(pParent));
        // Each goes in after those before it, which have moved the siblings on by one each.
        for (qsizetype k = 0; k < list.size(); ++k)
            pParent->insertChild(static_cast<int>(positions[static_cast<size_t>(k)]) + static_cast<int>(k), list[k]);
    }
    --m_nSilent;
    return handles;
}

void QtTreeControl::Expand(TreeItem item)
{
    QTreeWidgetItem* pItem = ItemOf(item);
    if (pItem && !pItem->isExpanded() && DepthOf(pItem, kMaxShownDepth) < kMaxShownDepth)
        pItem->setExpanded(true);
}

void QtTreeControl::DeleteItem(TreeItem item)
{
    QTreeWidgetItem* pItem = ItemOf(item);
    if (!pItem)
        return;
    bool bSelectionInside = false;
    for (const QTreeWidgetItem* pUp = ItemOf(m_selected); pUp; pUp = pUp->parent()) {
        if (pUp == pItem) {
            bSelectionInside = true;
            break;
        }
    }
    // Qt would pick a new current item while the old one is half gone: choose the neighbour
    // here and select it, running the selection change, before anything is removed.
    if (bSelectionInside) {
        QTreeWidgetItem* pParent = pItem->parent() ? pItem->parent() : invisibleRootItem();
        const std::optional<size_t> neighbour =
            NeighbourOfDeleted(static_cast<size_t>(pParent->indexOfChild(pItem)), static_cast<size_t>(pParent->childCount()));
        SelectItem(HandleOf(neighbour ? pParent->child(static_cast<int>(*neighbour)) : pItem->parent()));
        pItem = ItemOf(item);
        if (!pItem)
            return;
    }
    Forget(pItem);
    HoldUpdates();
    ++m_nSilent;
    DeleteSubtree(pItem);
    --m_nSilent;
    if (!ItemOf(m_selected))
        m_selected = kNoItem;
}

void QtTreeControl::Forget(QTreeWidgetItem* pItem)
{
    std::vector<QTreeWidgetItem*> pending { pItem };
    while (!pending.empty()) {
        QTreeWidgetItem* pNext = pending.back();
        pending.pop_back();
        m_items.erase(HandleOf(pNext));
        for (int i = 0; i < pNext->childCount(); ++i)
            pending.push_back(pNext->child(i));
    }
}

std::string QtTreeControl::GetItemText(TreeItem item) const
{
    const QTreeWidgetItem* pItem = ItemOf(item);
    return pItem ? BytesOf(pItem) : std::string();
}

void QtTreeControl::SetItemText(TreeItem item, const std::string& text)
{
    if (QTreeWidgetItem* pItem = ItemOf(item))
        static_cast<FolderItem*>(pItem)->Rename(text, m_codec.Decode(text));
}

TreeItem QtTreeControl::GetParentItem(TreeItem item) const
{
    const QTreeWidgetItem* pItem = ItemOf(item);
    return pItem ? HandleOf(pItem->parent()) : kNoItem;
}

void QtTreeControl::SortChildren(TreeItem parent)
{
    if (QTreeWidgetItem* pParent = ParentOf(parent)) {
        HoldUpdates();
        ++m_nSilent;
        pParent->sortChildren(0, Qt::AscendingOrder);
        --m_nSilent;
    }
}

void QtTreeControl::SelectItem(TreeItem item)
{
    QTreeWidgetItem* pItem = ItemOf(item);
    if (item != kNoItem && !pItem)
        return;
    if (m_onSelChanging)
        m_onSelChanging(item);
    // The handler may have removed the item.
    pItem = ItemOf(item);
    m_selected = pItem ? item : kNoItem;
    HoldUpdates();
    ++m_nSilent;
    setCurrentItem(pItem);
    if (!pItem)
        clearSelection();
    --m_nSilent;
    emit selectionShown();
}

bool QtTreeControl::HasFocus() const
{
    // The window's focus widget, not hasFocus(): right after a modal dialog closes the window
    // is not yet active again, yet the keyboard belongs to this control.
    return window()->focusWidget() == this;
}

void QtTreeControl::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void QtTreeControl::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    HoldUpdates();
    // The control's own moves repaint when the held updates end; Qt's handling would lay out
    // every item for each of them.
    if (m_nSilent > 0)
        return;
    const TreeItem item = HandleOf(itemFromIndex(current));
    if (item != m_selected) {
        Run([&] {
            if (m_onSelChanging)
                m_onSelChanging(item);
        });
        m_selected = ItemOf(item) ? item : kNoItem;
        emit selectionShown();
    }
    QTreeWidget::currentChanged(current, previous);
}

QItemSelectionModel::SelectionFlags QtTreeControl::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // A click beside the items, or with Ctrl on the selected one, would take the highlight and
    // the open image off a folder that stays selected.
    const QItemSelectionModel::SelectionFlags command = QTreeWidget::selectionCommand(index, event);
    if (!index.isValid() || !command.testFlag(QItemSelectionModel::Select))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void QtTreeControl::HoldUpdates()
{
    // Each change would have Qt lay out every item to find what to repaint; opening a notebook
    // of thousands of folders pays that once.
    if (m_bUpdatesHeld)
        return;
    m_bUpdatesHeld = true;
    setUpdatesEnabled(false);
    QTimer::singleShot(0, this, [this] {
        m_bUpdatesHeld = false;
        setUpdatesEnabled(true);
        if (QTreeWidgetItem* pItem = currentItem()) {
            // Scrolling to an item opens every folder above it: an item deeper than the tree
            // shows is scrolled to through its shown ancestor.
            for (int depth = DepthOf(pItem, INT_MAX); depth > kMaxShownDepth; --depth)
                pItem = pItem->parent();
            scrollToItem(pItem);
        }
    });
}

void QtTreeControl::Run(const std::function<void()>& handler)
{
    if (m_runCommand)
        m_runCommand(handler);
    else
        handler();
}

void QtTreeControl::keyPressEvent(QKeyEvent* event)
{
    Run([&] {
        if (!m_pView || m_pView->OnKeyDown(KeyFromQt(event->key())))
            QTreeWidget::keyPressEvent(event);
        else
            event->accept();
    });
}

void QtTreeControl::keyReleaseEvent(QKeyEvent* event)
{
    if (m_pView)
        m_pView->OnKeyUp(KeyFromQt(event->key()));
    QTreeWidget::keyReleaseEvent(event);
}

void QtTreeControl::mousePressEvent(QMouseEvent* event)
{
    Run([&] { OnMousePress(event); });
}

void QtTreeControl::OnMousePress(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && m_pView) {
        // The view's menu is the whole handling: the selection stays where it was.
        event->accept();
        const QPoint global = event->globalPosition().toPoint();
        m_pView->OnRButtonDown(global.x(), global.y());
        return;
    }
    QTreeWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !m_pView)
        return;
    // On an item means on its image or name, not on its expand button or the empty space.
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    const TreeItem hit = index.isValid() && visualRect(index).contains(point) ? HandleOf(itemFromIndex(index)) : kNoItem;
    m_pView->OnLButtonDown(hit, event->modifiers() & Qt::ShiftModifier);
}

void QtTreeControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        mousePressEvent(event);
    else
        QTreeWidget::mouseDoubleClickEvent(event);
}

void QtTreeControl::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

void QtTreeControl::changeEvent(QEvent* event)
{
    QTreeWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        ShowBranchLines();
}

void QtTreeControl::ShowBranchLines()
{
    const QColor base = palette().color(QPalette::Base);
    const QColor text = palette().color(QPalette::Text);
    const QColor lines = QColor::fromRgbF((base.redF() + text.redF()) / 2, (base.greenF() + text.greenF()) / 2,
                                          (base.blueF() + text.blueF()) / 2);
    if (palette().color(QPalette::Dark) == lines)
        return;
    QPalette withLines = palette();
    withLines.setColor(QPalette::Dark, lines);
    setPalette(withLines);
}
