#include "app/CAboutDlg.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDlg"));
    setWindowTitle(tr("About Quillbox"));

    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(QIcon(QStringLiteral(":/icons/quillbox.svg")).pixmap(QSize(48, 48), devicePixelRatioF()));
    pIcon->setAlignment(Qt::AlignTop);

    auto* pVersion = new QLabel(tr("Quillbox Version 1.0"), this);
    pVersion->setObjectName(QStringLiteral("versionLabel"));
    auto* pAbout = new QLabel(tr("Notes in folders, filed with a key."), this);
    pAbout->setObjectName(QStringLiteral("aboutLabel"));

    auto* pOk = new QPushButton(tr("OK"), this);
    pOk->setObjectName(QStringLiteral("okButton"));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* pLayout = new QGridLayout(this);
    pLayout->setHorizontalSpacing(16);
    pLayout->addWidget(pIcon, 0, 0, 2, 1);
    pLayout->addWidget(pVersion, 0, 1);
    pLayout->addWidget(pAbout, 1, 1);
    pLayout->addWidget(pOk, 0, 2, Qt::AlignTop);
    pLayout->setColumnStretch(1, 1);
}
