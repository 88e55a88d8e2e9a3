#include "qt/RecoveryDialog.h"

#include <QDateTime>
#include <algorithm>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qt/DialogParts.h"
#include "qt/PlainMessageBox.h"
#include "qt/FilePaths.h"

RecoveryDialog::RecoveryDialog(const std::vector<KeptWork>& work, QWidget* parent)
    : QDialog(parent)
    , m_pList(new QTreeWidget)
{
    setObjectName(QStringLiteral("recoveryQuestion"));
    setWindowTitle(tr("Quillbox"));

    auto* pText = new QLabel(tr("Quillbox ended before this work was saved. None of it is lost until you "
                                "discard it."));
    pText->setObjectName(QStringLiteral("recoveryText"));
    pText->setWordWrap(true);

    m_pList->setObjectName(QStringLiteral("keptWorkList"));
    m_pList->setAccessibleName(tr("Unsaved work kept"));
    m_pList->setRootIsDecorated(false);
    m_pList->setHeaderLabels({ tr("Notebook"), tr("Work kept"), tr("Last saved") });
    for (const KeptWork& piece : work) {
        const QString saved = piece.notebookPath.empty() ? tr("never")
            : piece.savedAt                              ? TimeText(*piece.savedAt)
                                                         : tr("the file is missing");
        auto* pItem = new QTreeWidgetItem(m_pList, { NotebookName(piece), TimeText(piece.keptAt), saved });
        pItem->setToolTip(0, PlainToolTip(DecodePath(piece.notebookPath)));
    }
    m_pList->setCurrentItem(m_pList->topLevelItem(0));
    // The times take what they need and the notebook's name the rest, cut short on a small
    // screen (its tooltip says it whole).
    QHeaderView* pHeader = m_pList->header();
    pHeader->setStretchLastSection(false);
    pHeader->setSectionResizeMode(0, QHeaderView::Stretch);
    pHeader->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    pHeader->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_pList->setTextElideMode(Qt::ElideMiddle);
    // As tall as the work listed, up to six pieces; more scroll.
    const int rows = std::clamp<int>(static_cast<int>(work.size()), 2, 6);
    m_pList->setFixedHeight(pHeader->sizeHint().height() + rows * m_pList->sizeHintForRow(0) + 2 * m_pList->frameWidth() + 4);

    auto* pHint = new QLabel(tr("Recover opens the chosen work as unsaved changes. Decide Later opens "
                                "the notebook as it was last saved and keeps all of the work until you "
                                "choose."));
    pHint->setObjectName(QStringLiteral("recoveryHint"));
    pHint->setWordWrap(true);

    auto* pButtons = new QDialogButtonBox;
    QPushButton* pRecover = pButtons->addButton(tr("&Recover"), QDialogButtonBox::AcceptRole);
    pRecover->setObjectName(QStringLiteral("recoverButton"));
    pRecover->setDefault(true);
    QPushButton* pDiscard = pButtons->addButton(tr("&Discard..."), QDialogButtonBox::DestructiveRole);
    pDiscard->setObjectName(QStringLiteral("discardButton"));
    QPushButton* pLater = pButtons->addButton(tr("Decide &Later"), QDialogButtonBox::RejectRole);
    pLater->setObjectName(QStringLiteral("laterButton"));
    connect(pRecover, &QPushButton::clicked, this, [this] { Answer(RecoveryAnswer::Action::Recover); });
    connect(pDiscard, &QPushButton::clicked, this, [this] { Answer(RecoveryAnswer::Action::Discard); });
    connect(pLater, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, [this] { Answer(RecoveryAnswer::Action::Recover); });

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pText);
    pLayout->addWidget(m_pList);
    pLayout->addWidget(pHint);
    pLayout->addWidget(pButtons);
    // The labels wrap at the list's width rather than widening the dialog word by word.
    m_pList->setMinimumWidth(DialogUnits(this, 250, 0).width());
    m_pList->setFocus();
}

QString RecoveryDialog::TimeText(int64_t ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString RecoveryDialog::NotebookName(const KeptWork& work)
{
    if (work.notebookPath.empty())
        return tr("Untitled notebook");
    return QFileInfo(DecodePath(work.notebookPath)).fileName();
}

void RecoveryDialog::showEvent(QShowEvent* event)
{
    // As wide as the list's columns want to be, as far as the screen allows.
    const QAbstractItemView& view = *m_pList;
    int wanted = 2 * m_pList->frameWidth();
    for (int column = 0; column < m_pList->columnCount(); ++column)
        wanted += std::max(view.sizeHintForColumn(column), m_pList->header()->sectionSizeHint(column));
    resize(width() + std::max(0, wanted - m_pList->width()), height());
    KeepOnScreen(this);
    QDialog::showEvent(event);
}

void RecoveryDialog::Answer(RecoveryAnswer::Action action)
{
    QTreeWidgetItem* pItem = m_pList->currentItem();
    m_answer = { action, static_cast<size_t>(pItem ? m_pList->indexOfTopLevelItem(pItem) : 0) };
    accept();
}
