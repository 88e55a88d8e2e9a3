#include "qt/QtMergeEventsDialog.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "qt/DialogParts.h"
#include "qt/PlainMessageBox.h"
#include "qt/TextCodec.h"

namespace {

enum Column
{
    kFolderColumn,
    kNoteColumn,
    kWhatColumn,
};

} // namespace

QtMergeEventsDialog::QtMergeEventsDialog(const std::vector<MergeEvent>& events, const MergeLabels& labels, const QString& intro,
                                         const TextCodec& codec, std::function<bool(const MergeEvent&)> goTo, QWidget* parent)
    : QDialog(parent)
    , m_events(events)
    , m_goTo(std::move(goTo))
    , m_pList(new QTreeWidget)
    , m_pStatus(new QLabel)
    , m_pGoTo(NewButton(tr("&Go To"), "mergeEventsGoTo"))
{
    setObjectName(QStringLiteral("mergeEventsDialog"));
    setWindowTitle(tr("Merged Changes"));
    auto* pIntro = new QLabel(intro);
    pIntro->setObjectName(QStringLiteral("mergeEventsIntro"));
    pIntro->setWordWrap(true);
    // The chosen line's whole story, however narrow its column.
    m_pStatus->setObjectName(QStringLiteral("mergeEventsStatus"));
    m_pStatus->setTextFormat(Qt::PlainText);
    m_pStatus->setWordWrap(true);
    m_pList->setObjectName(QStringLiteral("mergeEventsList"));
    m_pList->setColumnCount(3);
    m_pList->setHeaderLabels({ tr("Folder"), tr("Note"), tr("What happened") });
    m_pList->setRootIsDecorated(false);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->header()->setStretchLastSection(true);
    m_pList->setColumnWidth(kFolderColumn, DialogUnits(this, 70, 0).width());
    m_pList->setColumnWidth(kNoteColumn, DialogUnits(this, 90, 0).width());
    m_pList->setMinimumSize(DialogUnits(this, 250, 100));
    const MergeLabels shown = ShownLabels(labels);
    for (const MergeEvent& event : m_events) {
        MergeEvent described = event;
        described.detail = codec.Decode(event.detail).toStdString();
        const QString what = QString::fromStdString(DescribeMergeEvent(described, shown));
        auto* pItem = new QTreeWidgetItem(m_pList, { codec.Decode(event.path), codec.Decode(event.header),
                                                     event.IsConflict() ? tr("Conflict: %1").arg(what) : what });
        for (int column : { kFolderColumn, kNoteColumn, kWhatColumn })
            pItem->setToolTip(column, PlainToolTip(pItem->text(column)));
    }

    QPushButton* pClose = NewButton(tr("Close"), "mergeEventsClose");
    for (QPushButton* pButton : { m_pGoTo, pClose })
        pButton->setAutoDefault(false);
    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pIntro, 0, 0);
    pLayout->addWidget(m_pList, 1, 0);
    pLayout->addWidget(m_pStatus, 2, 0);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pGoTo);
    pButtons->addWidget(pClose);
    pButtons->addStretch();
    pLayout->addLayout(pButtons, 0, 1, 3, 1);
    pLayout->setColumnStretch(0, 1);
    pLayout->setRowStretch(1, 1);
    if (const QScreen* pScreen = screen())
        resize(DialogUnits(this, 480, 180).boundedTo(pScreen->availableGeometry().size()));

    connect(m_pList, &QTreeWidget::itemActivated, this, &QtMergeEventsDialog::GoTo);
    connect(m_pGoTo, &QPushButton::clicked, this, &QtMergeEventsDialog::GoTo);
    connect(m_pList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* pItem) {
        m_pGoTo->setEnabled(pItem != nullptr);
        m_pStatus->setText(pItem ? pItem->text(kWhatColumn) : QString());
    });
    if (m_pList->topLevelItemCount() > 0)
        m_pList->setCurrentItem(m_pList->topLevelItem(0));
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
}

void QtMergeEventsDialog::showEvent(QShowEvent* event)
{
    KeepOnScreen(this);
    QDialog::showEvent(event);
}

void QtMergeEventsDialog::GoTo()
{
    const int row = m_pList->indexOfTopLevelItem(m_pList->currentItem());
    if (row < 0)
        return;
    if (!m_goTo(m_events[static_cast<size_t>(row)]))
        m_pStatus->setText(tr("That folder is no longer in the notebook."));
}
