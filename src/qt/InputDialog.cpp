#include "qt/InputDialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/CInputDlg.h"
#include "qt/DialogParts.h"
#include "qt/TextCodec.h"

InputDialog::InputDialog(CInputDlg& dlg, TextCodec& codec, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_codec(codec)
    , m_pEdit(new QLineEdit(codec.Decode(dlg.m_strText)))
{
    setObjectName(QStringLiteral("inputDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CInputDlg::kCaption));
    auto* pLabel = new QLabel(QCoreApplication::translate("Dialog", dlg.m_strLabel.c_str()));
    pLabel->setObjectName(QStringLiteral("inputLabel"));
    pLabel->setTextFormat(Qt::PlainText);
    pLabel->setBuddy(m_pEdit);
    m_pEdit->setObjectName(QStringLiteral("inputText"));
    const auto [pOk, pCancel] = NewOkCancel(this);

    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    pButtons->addWidget(pOk);
    pButtons->addSpacing(DialogUnits(this, 8, 0).width());
    pButtons->addWidget(pCancel);
    pButtons->addStretch();
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pLabel);
    pLayout->addWidget(m_pEdit);
    pLayout->addSpacing(DialogUnits(this, 0, 8).height());
    pLayout->addLayout(pButtons);
    setMinimumWidth(DialogUnits(this, 165, 0).width());

    // Typing replaces the suggested text.
    m_pEdit->selectAll();
    m_pEdit->setFocus();
}

void InputDialog::accept()
{
    m_dlg.m_strText = m_codec.Encode(m_pEdit->text());
    QDialog::accept();
}
