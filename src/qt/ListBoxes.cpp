#include "qt/ListBoxes.h"

#include <QListWidget>
#include <QSignalBlocker>

#include "dialogs/SortedList.h"
#include "qt/TextCodec.h"

QListWidget* NewListBox(const QString& objectName)
{
    auto* pList = new QListWidget;
    pList->setObjectName(objectName);
    pList->setSelectionMode(QAbstractItemView::SingleSelection);
    pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return pList;
}

void ShowSortedList(QListWidget* pList, const SortedList& lines, const TextCodec& codec)
{
    const QSignalBlocker blocker(pList);
    pList->clear();
    for (int i = 0; i < lines.GetCount(); ++i)
        pList->addItem(codec.Decode(lines.GetText(i)));
    if (lines.GetCurSel() >= 0)
        pList->setCurrentRow(lines.GetCurSel(), QItemSelectionModel::ClearAndSelect);
}

void FollowSelection(QListWidget* pList, SortedList& lines)
{
    QObject::connect(pList, &QListWidget::itemSelectionChanged, pList, [pList, &lines] {
        const QList<QListWidgetItem*> selected = pList->selectedItems();
        lines.SetCurSel(selected.isEmpty() ? -1 : pList->row(selected.first()));
    });
}
