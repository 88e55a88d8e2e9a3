#include "qt/QtFindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "qt/QtEditControl.h"

QtFindDialog::QtFindDialog(QtEditControl* pEditor)
    : QDialog(pEditor)
    , m_pEditor(pEditor)
    , m_pText(new QLineEdit)
    , m_pWholeWord(new QCheckBox(tr("Match &whole word only")))
    , m_pMatchCase(new QCheckBox(tr("Match &case")))
    , m_pUp(new QRadioButton(tr("&Up")))
    , m_pStatus(new QLabel)
{
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(tr("Find"));
    m_pText->setObjectName(QStringLiteral("findText"));
    m_pWholeWord->setObjectName(QStringLiteral("findWholeWord"));
    m_pMatchCase->setObjectName(QStringLiteral("findMatchCase"));
    m_pUp->setObjectName(QStringLiteral("findUp"));
    m_pStatus->setObjectName(QStringLiteral("findStatus"));
    m_pStatus->setTextFormat(Qt::PlainText);

    auto* pLabel = new QLabel(tr("Fi&nd what:"));
    pLabel->setObjectName(QStringLiteral("findLabel"));
    pLabel->setBuddy(m_pText);
    auto* pDown = new QRadioButton(tr("&Down"));
    pDown->setObjectName(QStringLiteral("findDown"));
    pDown->setChecked(true);
    auto* pDirection = new QGroupBox(tr("Direction"));
    pDirection->setObjectName(QStringLiteral("findDirection"));
    auto* pDirectionLayout = new QHBoxLayout(pDirection);
    pDirectionLayout->addWidget(m_pUp);
    pDirectionLayout->addWidget(pDown);

    auto* pFindNext = new QPushButton(tr("&Find Next"));
    pFindNext->setObjectName(QStringLiteral("findNext"));
    pFindNext->setDefault(true);
    auto* pCancel = new QPushButton(tr("Cancel"));
    pCancel->setObjectName(QStringLiteral("findCancel"));

    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pLabel, 0, 0);
    pLayout->addWidget(m_pText, 0, 1, 1, 2);
    pLayout->addWidget(m_pWholeWord, 1, 0, 1, 2);
    pLayout->addWidget(m_pMatchCase, 2, 0, 1, 2);
    pLayout->addWidget(pDirection, 1, 2, 2, 1);
    pLayout->addWidget(m_pStatus, 3, 0, 1, 3);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(pFindNext);
    pButtons->addWidget(pCancel);
    pButtons->addStretch();
    pLayout->addLayout(pButtons, 0, 3, 4, 1);

    connect(pFindNext, &QPushButton::clicked, this, &QtFindDialog::FindNext);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pText, &QLineEdit::textChanged, m_pStatus, &QLabel::clear);
}

bool QtFindDialog::FindNext()
{
    const QString text = m_pText->text();
    if (text.isEmpty())
        return false;
    QTextDocument::FindFlags flags;
    if (m_pWholeWord->isChecked())
        flags |= QTextDocument::FindWholeWords;
    if (m_pMatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (m_pUp->isChecked())
        flags |= QTextDocument::FindBackward;
    if (m_pEditor->Find(text, flags)) {
        m_pStatus->clear();
        return true;
    }
    m_pStatus->setText(tr("Cannot find \"%1\".").arg(text));
    return false;
}
