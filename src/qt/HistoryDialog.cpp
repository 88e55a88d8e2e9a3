#include "qt/HistoryDialog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

#include "history/CHistoryDlg.h"
#include "qt/DialogParts.h"
#include "qt/ListBoxes.h"
#include "storage/TextEncoding.h"
#include "words/HistoryWords.h"

namespace {

// A label naming `pBuddy`, by its text for screen readers too: Qt names no list by its label.
QLabel* NewLabel(const QString& text, const char* objectName, QWidget* pBuddy)
{
    auto* pLabel = new QLabel(text);
    pLabel->setObjectName(QString::fromLatin1(objectName));
    pLabel->setBuddy(pBuddy);
    pBuddy->setAccessibleName(pLabel->text().remove(QLatin1Char('&')));
    return pLabel;
}

} // namespace

HistoryDialog::HistoryDialog(CHistoryDlg& dlg, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_pVersions(NewListBox(QStringLiteral("versionList")))
    , m_pFolders(NewListBox(QStringLiteral("versionFolderList")))
    , m_pNotes(new QPlainTextEdit)
    , m_pRestore(NewButton(tr("&Restore Folder"), "restoreButton"))
{
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CHistoryDlg::kCaption));
    m_pNotes->setObjectName(QStringLiteral("versionNotes"));
    m_pNotes->setReadOnly(true);
    m_pNotes->setTabChangesFocus(true);
    m_pNotes->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pRestore->setDefault(true);
    QPushButton* pClose = NewButton(tr("Close"), "closeButton");
    // A version's changes may be long: they wrap rather than run off the list's edge.
    m_pVersions->setWordWrap(true);
    m_pVersions->setResizeMode(QListView::Adjust);
    m_pVersions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Small enough to fit a 1280 by 900 screen at twice the scale.
    m_pVersions->setMinimumSize(DialogUnits(this, 280, 56));
    m_pFolders->setMinimumSize(DialogUnits(this, 100, 88));
    m_pNotes->setMinimumSize(DialogUnits(this, 176, 88));

    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    pButtons->addWidget(m_pRestore);
    pButtons->addWidget(pClose);
    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(NewLabel(tr("&Versions:"), "versionLabel", m_pVersions), 0, 0, 1, 2);
    pLayout->addWidget(m_pVersions, 1, 0, 1, 2);
    pLayout->addWidget(NewLabel(tr("&Folders then:"), "versionFolderLabel", m_pFolders), 2, 0);
    pLayout->addWidget(NewLabel(tr("&Notes then:"), "versionNotesLabel", m_pNotes), 2, 1);
    pLayout->addWidget(m_pFolders, 3, 0);
    pLayout->addWidget(m_pNotes, 3, 1);
    pLayout->addLayout(pButtons, 4, 0, 1, 2);
    pLayout->setRowStretch(3, 1);
    pLayout->setColumnStretch(1, 2);
    pLayout->setColumnStretch(0, 1);

    const QLocale locale;
    for (const VersionChange& change : m_dlg.Versions()) {
        const QString when = locale.toString(QDateTime::fromMSecsSinceEpoch(change.version.time), QLocale::ShortFormat);
        // The machine and the folders' paths are the file system's and the notebook's bytes.
        m_pVersions->addItem(tr("%1, %2 on %3: %4")
                                 .arg(when, QString::fromStdString(DescribeHistoryKind(change.version.kind)),
                                      QString::fromStdString(change.version.host), QString::fromStdString(DescribeVersionChange(change))));
    }
    connect(m_pVersions, &QListWidget::currentRowChanged, this, &HistoryDialog::ShowVersion);
    connect(m_pFolders, &QListWidget::currentRowChanged, this, &HistoryDialog::ShowFolder);
    connect(m_pRestore, &QPushButton::clicked, this, &QDialog::accept);
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
    m_pVersions->setCurrentRow(0);
    m_pVersions->setFocus();
    KeepOnScreen(this);
}

QString HistoryDialog::Decode(std::string_view bytes) const
{
    if (m_dlg.Encoding() == TextEncoding::Kind::Windows1252)
        return QString::fromStdString(TextEncoding::Cp1252ToUtf8(bytes));
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

void HistoryDialog::ShowVersion(int row)
{
    if (row < 0)
        return;
    if (size_t(row) != m_dlg.SelectedVersion())
        m_dlg.SelectVersion(size_t(row));
    const QSignalBlocker quiet(m_pFolders);
    m_pFolders->clear();
    for (const std::string& path : m_dlg.Folders())
        m_pFolders->addItem(Decode(path));
    if (m_dlg.SelectedFolder())
        m_pFolders->setCurrentRow(int(*m_dlg.SelectedFolder()));
    ShowFolder(m_pFolders->currentRow());
}

void HistoryDialog::ShowFolder(int row)
{
    if (row >= 0)
        m_dlg.SelectFolder(size_t(row));
    m_pNotes->setPlainText(row >= 0 ? Decode(m_dlg.FolderText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) : QString());
    m_pRestore->setEnabled(m_dlg.CanRestore());
}
