#include "qt/AssignKeysDialog.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/CAssignKeysDlg.h"
#include "qt/DialogParts.h"
#include "qt/ListBoxes.h"

namespace {

// A list's caption, which also names the list for assistive technology.
QLabel* NewLabel(const QString& text, const char* objectName, QWidget* pList)
{
    auto* pLabel = new QLabel(text);
    pLabel->setObjectName(QString::fromUtf8(objectName));
    pLabel->setBuddy(pList);
    // Qt names no list by its buddy label.
    pList->setAccessibleName(pLabel->text());
    return pLabel;
}

} // namespace

AssignKeysDialog::AssignKeysDialog(CAssignKeysDlg& dlg, TextCodec& codec, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_codec(codec)
    , m_pFolders(NewListBox(QStringLiteral("availableFolders")))
    , m_pKeys(NewListBox(QStringLiteral("availableKeys")))
    , m_pAssignments(NewListBox(QStringLiteral("assignments")))
    , m_pMove(new QRadioButton(tr("Move Note")))
    , m_pCopy(new QRadioButton(tr("Copy Note")))
{
    setObjectName(QStringLiteral("assignKeysDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CAssignKeysDlg::kCaption));
    QPushButton* pClose = NewButton(tr("Close"), "closeButton");
    pClose->setDefault(true);
    QPushButton* pCancel = NewButton(tr("Cancel"), "cancelButton");
    QPushButton* pAssign = NewButton(tr("Assign"), "assignButton");
    QPushButton* pUnassign = NewButton(tr("Unassign"), "unassignButton");
    m_pMove->setObjectName(QStringLiteral("moveNoteRadio"));
    m_pCopy->setObjectName(QStringLiteral("copyNoteRadio"));
    // The radio buttons are no tab stops; a click sets them.
    m_pMove->setFocusPolicy(Qt::ClickFocus);
    m_pCopy->setFocusPolicy(Qt::ClickFocus);
    auto* pFunction = new QButtonGroup(this);
    pFunction->addButton(m_pMove, 0);
    pFunction->addButton(m_pCopy, 1);
    m_pFolders->setMinimumSize(DialogUnits(this, 105, 85));
    m_pKeys->setMinimumSize(DialogUnits(this, 66, 85));
    m_pAssignments->setMinimumSize(DialogUnits(this, 178, 85));

    auto* pRadios = new QHBoxLayout;
    pRadios->addWidget(m_pMove);
    pRadios->addWidget(m_pCopy);
    pRadios->addStretch();
    auto* pActions = new QHBoxLayout;
    pActions->addWidget(pAssign, 1);
    pActions->addWidget(pUnassign, 1);
    auto* pCloseButtons = new QVBoxLayout;
    pCloseButtons->addWidget(pClose);
    pCloseButtons->addWidget(pCancel);
    pCloseButtons->addStretch();

    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(NewLabel(tr("Available Folders"), "availableFoldersLabel", m_pFolders), 0, 0);
    pLayout->addWidget(NewLabel(tr("Available Keys"), "availableKeysLabel", m_pKeys), 0, 1);
    pLayout->addWidget(m_pFolders, 1, 0);
    pLayout->addWidget(m_pKeys, 1, 1);
    pLayout->addLayout(pCloseButtons, 1, 2);
    pLayout->addLayout(pRadios, 2, 0, 1, 2);
    pLayout->addLayout(pActions, 3, 0, 1, 2);
    pLayout->addWidget(NewLabel(tr("Assignments"), "assignmentsLabel", m_pAssignments), 4, 0, 1, 2);
    pLayout->addWidget(m_pAssignments, 5, 0, 1, 2);
    pLayout->setColumnStretch(0, 105);
    pLayout->setColumnStretch(1, 66);
    pLayout->setRowStretch(1, 1);
    pLayout->setRowStretch(5, 1);

    setTabOrder(pClose, pCancel);
    setTabOrder(pCancel, pAssign);
    setTabOrder(pAssign, pUnassign);
    setTabOrder(pUnassign, m_pFolders);
    setTabOrder(m_pFolders, m_pKeys);
    setTabOrder(m_pKeys, m_pAssignments);

    m_dlg.OnInitDialog();
    ShowLists();
    FollowSelection(m_pFolders, m_dlg.m_folderList);
    FollowSelection(m_pKeys, m_dlg.m_keyList);
    FollowSelection(m_pAssignments, m_dlg.m_assignList);
    pClose->setFocus();

    connect(pAssign, &QPushButton::clicked, this, [this] {
        m_dlg.m_nFunction = m_pCopy->isChecked() ? 1 : 0;
        m_dlg.OnAssign();
        ShowLists();
    });
    connect(pUnassign, &QPushButton::clicked, this, [this] {
        m_dlg.OnUnassign();
        ShowLists();
    });
    connect(pClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AssignKeysDialog::ShowLists()
{
    ShowSortedList(m_pFolders, m_dlg.m_folderList, m_codec);
    ShowSortedList(m_pKeys, m_dlg.m_keyList, m_codec);
    ShowSortedList(m_pAssignments, m_dlg.m_assignList, m_codec);
    (m_dlg.m_nFunction ? m_pCopy : m_pMove)->setChecked(true);
}
