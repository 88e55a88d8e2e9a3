#include "qt/PrefsDialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/CPrefsDlgs.h"
#include "history/KeptHistory.h"
#include "qt/DialogParts.h"

namespace {

QCheckBox* NewCheckBox(const QString& text, const char* objectName, int bChecked)
{
    auto* pBox = new QCheckBox(text);
    pBox->setObjectName(QString::fromUtf8(objectName));
    pBox->setChecked(bChecked != 0);
    return pBox;
}

// A group of settings with OK and Cancel in a column at its right.
void LayOutBesideOkCancel(QDialog* pDialog, QGroupBox* pGroup)
{
    pGroup->setMinimumWidth(DialogUnits(pDialog, 174, 0).width());
    const auto [pOk, pCancel] = NewOkCancel(pDialog);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pOk);
    pButtons->addWidget(pCancel);
    pButtons->addStretch();
    auto* pLayout = new QHBoxLayout(pDialog);
    pLayout->addWidget(pGroup, 1);
    pLayout->addLayout(pButtons);
}

} // namespace

NewNotePrefsDialog::NewNotePrefsDialog(CNewNotePrefsDlg& dlg, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_pDate(NewCheckBox(tr("Include Date"), "includeDate", dlg.m_bIncludeDate))
    , m_pTime(NewCheckBox(tr("Include Time"), "includeTime", dlg.m_bIncludeTime))
    , m_pText(NewCheckBox(tr("Include Text (\"New Note\")"), "includeText", dlg.m_bIncludeText))
{
    setObjectName(QStringLiteral("newNotePrefsDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CNewNotePrefsDlg::kCaption));
    auto* pGroup = new QGroupBox(tr("Date/Time"));
    pGroup->setObjectName(QStringLiteral("dateTimeGroup"));
    auto* pBoxes = new QVBoxLayout(pGroup);
    pBoxes->addWidget(m_pDate);
    pBoxes->addWidget(m_pTime);
    pBoxes->addWidget(m_pText);
    const auto [pOk, pCancel] = NewOkCancel(this);
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(pOk);
    pButtons->addStretch();
    pButtons->addWidget(pCancel);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pGroup);
    pLayout->addLayout(pButtons);
    setMinimumWidth(DialogUnits(this, 129, 0).width());
    m_pDate->setFocus();
}

void NewNotePrefsDialog::accept()
{
    m_dlg.m_bIncludeDate = m_pDate->isChecked() ? 1 : 0;
    m_dlg.m_bIncludeTime = m_pTime->isChecked() ? 1 : 0;
    m_dlg.m_bIncludeText = m_pText->isChecked() ? 1 : 0;
    QDialog::accept();
}

DeleteFolderPrefsDialog::DeleteFolderPrefsDialog(CDeleteFolderPrefsDlg& dlg, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_pPrompt(NewCheckBox(tr("Prompt before deleting"), "promptBeforeDeleting", dlg.m_bPrompt))
{
    setObjectName(QStringLiteral("deleteFolderPrefsDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CDeleteFolderPrefsDlg::kCaption));
    auto* pGroup = new QGroupBox(tr("Prompting"));
    pGroup->setObjectName(QStringLiteral("promptingGroup"));
    auto* pBoxes = new QVBoxLayout(pGroup);
    pBoxes->addWidget(m_pPrompt);
    LayOutBesideOkCancel(this, pGroup);
    m_pPrompt->setFocus();
}

void DeleteFolderPrefsDialog::accept()
{
    m_dlg.m_bPrompt = m_pPrompt->isChecked() ? 1 : 0;
    QDialog::accept();
}

HistoryPrefsDialog::HistoryPrefsDialog(CHistoryPrefsDlg& dlg, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_pLimit(new QSpinBox)
{
    setObjectName(QStringLiteral("historyPrefsDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CHistoryPrefsDlg::kCaption));
    m_pLimit->setObjectName(QStringLiteral("historyLimit"));
    m_pLimit->setRange(kLeastHistoryMegabytes, kMostHistoryMegabytes);
    m_pLimit->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    m_pLimit->setSuffix(tr(" MB"));
    m_pLimit->setValue(dlg.m_nMegabytes);
    QLabel* pLabel = NewBuddyLabel(tr("&Keep at most:"), "historyLimitLabel", m_pLimit);
    auto* pNote = new QLabel(tr("For every notebook. The oldest versions go first; each notebook's newest stays."));
    pNote->setObjectName(QStringLiteral("historyLimitNote"));
    pNote->setWordWrap(true);
    auto* pGroup = new QGroupBox(tr("Earlier versions"));
    pGroup->setObjectName(QStringLiteral("earlierVersionsGroup"));
    auto* pRow = new QHBoxLayout;
    pRow->addWidget(pLabel);
    pRow->addWidget(m_pLimit, 1);
    auto* pBoxes = new QVBoxLayout(pGroup);
    pBoxes->addLayout(pRow);
    pBoxes->addWidget(pNote);
    LayOutBesideOkCancel(this, pGroup);
    // Typing replaces the limit shown.
    m_pLimit->selectAll();
    m_pLimit->setFocus();
}

void HistoryPrefsDialog::accept()
{
    m_dlg.m_nMegabytes = m_pLimit->value();
    QDialog::accept();
}
