#include "app/CRunTutorialDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/DialogParts.h"

namespace {

QLabel* MakeParagraph(const char* text, const char* objectName, QWidget* parent)
{
    auto* pLabel = new QLabel(CRunTutorialDlg::tr(text), parent);
    pLabel->setObjectName(QString::fromLatin1(objectName));
    pLabel->setTextFormat(Qt::PlainText);
    pLabel->setWordWrap(true);
    // About the width of the original layout, so the paragraphs wrap into a few lines.
    pLabel->setMinimumWidth(400);
    return pLabel;
}

} // namespace

CRunTutorialDlg::CRunTutorialDlg(QWidget* parent)
    : QDialog(parent)
    , m_pShowPrompt(new QCheckBox(tr(kShowPromptText), this))
{
    setObjectName(QStringLiteral("runTutorialDlg"));
    setWindowTitle(tr(kCaption));

    m_pShowPrompt->setObjectName(QStringLiteral("showPromptCheck"));
    m_pShowPrompt->setChecked(m_bShowPrompt == 1);
    connect(m_pShowPrompt, &QCheckBox::toggled, this, [this](bool bChecked) { m_bShowPrompt = bChecked ? 1 : 0; });

    auto* pButtons = new QDialogButtonBox(this);
    QPushButton* pRun = pButtons->addButton(tr("Run Tutorial"), QDialogButtonBox::AcceptRole);
    pRun->setObjectName(QStringLiteral("runTutorialButton"));
    pRun->setDefault(true);
    QPushButton* pSkip = pButtons->addButton(tr("Skip Tutorial"), QDialogButtonBox::RejectRole);
    pSkip->setObjectName(QStringLiteral("skipTutorialButton"));
    pButtons->setCenterButtons(true);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(MakeParagraph(kFirstParagraph, "firstParagraph", this));
    pLayout->addWidget(MakeParagraph(kSecondParagraph, "secondParagraph", this));
    pLayout->addWidget(m_pShowPrompt, 0, Qt::AlignHCenter);
    pLayout->addWidget(pButtons);
}

void CRunTutorialDlg::showEvent(QShowEvent* event)
{
    KeepOnScreen(this);
    QDialog::showEvent(event);
}
