#include "qt/QtTreeControl.h"

#include <QContextMenuEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTimer>

#include "platform/NameOrder.h"
#include "qt/QtKeys.h"
#include "qt/TextCodec.h"
#include "tree/CQuillboxTreeView.h"

namespace {

constexpr int kBytesRole = Qt::UserRole;
constexpr int kHandleRole = Qt::UserRole + 1;

std::string BytesOf(const QTreeWidgetItem* pItem)
{
    return pItem->data(0, kBytesRole).toByteArray().toStdString();
}

// An item ordered as the core orders names: by their bytes, without regard to ASCII case.
class FolderItem : public QTreeWidgetItem
{
public:
    bool operator<(const QTreeWidgetItem& other) const override
    {
        return CompareNoCase(BytesOf(this), BytesOf(&other)) < 0;
    }
};

} // namespace

QtTreeControl::QtTreeControl(TextCodec& codec, QWidget* parent)
    : QTreeWidget(parent)
    , m_codec(codec)
    , m_folderIcon(QStringLiteral(":/images/folder-closed.svg"))
{
    m_folderIcon.addFile(QStringLiteral(":/images/folder-open.svg"), QSize(), QIcon::Selected);
    setObjectName(QStringLiteral("folderTree"));
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

QTreeWidgetItem* QtTreeControl::ItemOf(TreeItem item) const
{
    const auto it = m_items.find(item);
    return it == m_items.end() ? nullptr : it->second;
}

TreeItem QtTreeControl::HandleOf(const QTreeWidgetItem* pItem) const
{
    return pItem ? pItem->data(0, kHandleRole).toULongLong() : kNoItem;
}

QTreeWidgetItem* QtTreeControl::ParentOf(TreeItem parent) const
{
    return parent == kNoItem ? invisibleRootItem() : ItemOf(parent);
}

TreeItem QtTreeControl::InsertItem(const std::string& text, TreeItem parent, bool sorted)
{
    QTreeWidgetItem* pParent = ParentOf(parent);
    if (!pParent)
        return kNoItem;
    auto* pItem = new FolderItem;
    const TreeItem handle = m_nextItem++;
    pItem->setData(0, kBytesRole, QByteArray::fromStdString(text));
    pItem->setData(0, kHandleRole, QVariant::fromValue<qulonglong>(handle));
    pItem->setText(0, m_codec.Decode(text));
    pItem->setIcon(0, m_folderIcon);
    int at = pParent->childCount();
    if (sorted) {
        // After the last sibling that does not sort behind the new name.
        int low = 0;
        while (low < at) {
            const int middle = (low + at) / 2;
            if (CompareNoCase(text, BytesOf(pParent->child(middle))) < 0)
                at = middle;
            else
                low = middle + 1;
        }
    }
    HoldUpdates();
    ++m_nSilent;
    pParent->insertChild(at, pItem);
    --m_nSilent;
    m_items.emplace(handle, pItem);
    return handle;
}

void QtTreeControl::Expand(TreeItem item)
{
    if (QTreeWidgetItem* pItem = ItemOf(item))
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
        const int index = pParent->indexOfChild(pItem);
        QTreeWidgetItem* pNeighbour = pItem->parent();
        if (index + 1 < pParent->childCount())
            pNeighbour = pParent->child(index + 1);
        else if (index > 0)
            pNeighbour = pParent->child(index - 1);
        SelectItem(HandleOf(pNeighbour));
        pItem = ItemOf(item);
        if (!pItem)
            return;
    }
    Forget(pItem);
    HoldUpdates();
    ++m_nSilent;
    delete pItem;
    --m_nSilent;
    if (!ItemOf(m_selected))
        m_selected = kNoItem;
}

void QtTreeControl::Forget(QTreeWidgetItem* pItem)
{
    m_items.erase(HandleOf(pItem));
    for (int i = 0; i < pItem->childCount(); ++i)
        Forget(pItem->child(i));
}

std::string QtTreeControl::GetItemText(TreeItem item) const
{
    const QTreeWidgetItem* pItem = ItemOf(item);
    return pItem ? BytesOf(pItem) : std::string();
}

void QtTreeControl::SetItemText(TreeItem item, const std::string& text)
{
    if (QTreeWidgetItem* pItem = ItemOf(item)) {
        pItem->setData(0, kBytesRole, QByteArray::fromStdString(text));
        pItem->setText(0, m_codec.Decode(text));
    }
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
        if (QTreeWidgetItem* pItem = currentItem())
            scrollToItem(pItem);
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
