#include "qt/ChooseFolderDialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/CChooseFolderDlg.h"
#include "qt/DialogParts.h"
#include "qt/ListBoxes.h"

ChooseFolderDialog::ChooseFolderDialog(CChooseFolderDlg& dlg, TextCodec& codec, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_pList(NewListBox(QStringLiteral("folderList")))
{
    setObjectName(QStringLiteral("chooseFolderDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CChooseFolderDlg::kCaption));
    auto* pLabel = new QLabel(tr("Move/Copy Note To:"));
    pLabel->setObjectName(QStringLiteral("folderLabel"));
    pLabel->setBuddy(m_pList);
    // Qt names no list by its buddy label.
    m_pList->setAccessibleName(pLabel->text());
    QPushButton* pMove = NewButton(tr("Move Note"), "moveNoteButton");
    pMove->setDefault(true);
    QPushButton* pCopy = NewButton(tr("Copy Note"), "copyNoteButton");
    QPushButton* pCancel = NewButton(tr("Cancel"), "cancelButton");
    m_pList->setMinimumSize(DialogUnits(this, 119, 118));

    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pMove);
    pButtons->addWidget(pCopy);
    pButtons->addWidget(pCancel);
    pButtons->addStretch();
    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pLabel, 0, 0);
    pLayout->addWidget(m_pList, 1, 0);
    pLayout->addLayout(pButtons, 1, 1);
    pLayout->setRowStretch(1, 1);
    pLayout->setColumnStretch(0, 1);

    m_dlg.OnInitDialog();
    ShowSortedList(m_pList, m_dlg.m_list, codec);
    FollowSelection(m_pList, m_dlg.m_list);
    m_pList->viewport()->installEventFilter(this);
    m_pList->setFocus();

    connect(pMove, &QPushButton::clicked, this, [this] {
        m_dlg.OnMoveNote();
        accept();
    });
    connect(pCopy, &QPushButton::clicked, this, [this] {
        m_dlg.OnCopyNote();
        accept();
    });
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ChooseFolderDialog::eventFilter(QObject* pWatched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QListWidgetItem* pItem = m_pList->itemAt(mouse->position().toPoint());
            m_dlg.OnDblClkList(pItem ? m_pList->row(pItem) : -1);
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(pWatched, event);
}
