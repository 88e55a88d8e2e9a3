#include "qt/HistoryDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "history/CHistoryDlg.h"
#include "qt/DialogParts.h"
#include "qt/ListBoxes.h"
#include "storage/TextEncoding.h"
#include "words/HistoryWords.h"

HistoryDialog::HistoryDialog(CHistoryDlg& dlg, QWidget* parent)
    : QDialog(parent)
    , m_dlg(dlg)
    , m_pFind(new QLineEdit)
    , m_pFolderOnly(new QCheckBox(tr("Changes to the &selected folder only")))
    , m_pVersions(NewListBox(QStringLiteral("versionList")))
    , m_pFolders(NewListBox(QStringLiteral("versionFolderList")))
    , m_pNotes(new QPlainTextEdit)
    , m_pRestore(NewButton(tr("&Restore Folder"), "restoreButton"))
    , m_pRestoreNote(NewButton(tr("Restore No&te"), "restoreNoteButton"))
    , m_pRestoreNotebook(NewButton(tr("Restore Note&book"), "restoreNotebookButton"))
{
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(QCoreApplication::translate("Dialog", CHistoryDlg::kCaption));
    m_pFind->setObjectName(QStringLiteral("findDeletedEdit"));
    m_pFind->setClearButtonEnabled(true);
    m_pFolderOnly->setObjectName(QStringLiteral("folderOnlyCheck"));
    m_pFolderOnly->setEnabled(m_dlg.CanShowFolderOnly());
    m_pNotes->setObjectName(QStringLiteral("versionNotes"));
    m_pNotes->setReadOnly(true);
    // The caret shows which note Restore Note takes, and the keys move it.
    m_pNotes->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_pNotes->setTabChangesFocus(true);
    m_pNotes->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pRestore->setDefault(true);
    QPushButton* pClose = NewButton(tr("Close"), "closeButton");
    // A version's changes may be long: they wrap rather than run off the list's edge.
    m_pVersions->setWordWrap(true);
    m_pVersions->setResizeMode(QListView::Adjust);
    m_pVersions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Small enough to fit a 1280 by 900 screen at twice the scale.
    m_pVersions->setMinimumSize(DialogUnits(this, 280, 40));
    m_pFolders->setMinimumSize(DialogUnits(this, 100, 72));
    m_pNotes->setMinimumSize(DialogUnits(this, 176, 72));

    auto* pFindRow = new QHBoxLayout;
    pFindRow->addWidget(NewBuddyLabel(tr("Find &deleted:"), "findDeletedLabel", m_pFind));
    pFindRow->addWidget(m_pFind, 1);
    auto* pVersionsRow = new QHBoxLayout;
    pVersionsRow->addWidget(NewBuddyLabel(tr("&Versions:"), "versionLabel", m_pVersions));
    pVersionsRow->addStretch();
    pVersionsRow->addWidget(m_pFolderOnly);
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    pButtons->addWidget(m_pRestore);
    pButtons->addWidget(m_pRestoreNote);
    pButtons->addWidget(m_pRestoreNotebook);
    pButtons->addWidget(pClose);
    auto* pLayout = new QGridLayout(this);
    pLayout->addLayout(pFindRow, 0, 0, 1, 2);
    pLayout->addLayout(pVersionsRow, 1, 0, 1, 2);
    pLayout->addWidget(m_pVersions, 2, 0, 1, 2);
    pLayout->addWidget(NewBuddyLabel(tr("&Folders then:"), "versionFolderLabel", m_pFolders), 3, 0);
    pLayout->addWidget(NewBuddyLabel(tr("&Notes then:"), "versionNotesLabel", m_pNotes), 3, 1);
    pLayout->addWidget(m_pFolders, 4, 0);
    pLayout->addWidget(m_pNotes, 4, 1);
    pLayout->addLayout(pButtons, 5, 0, 1, 2);
    pLayout->setRowStretch(4, 1);
    pLayout->setColumnStretch(1, 2);
    pLayout->setColumnStretch(0, 1);
    // The find row comes after the lists, so the versions have the focus first.
    setTabOrder(m_pNotes, m_pFind);
    setTabOrder(m_pFind, m_pFolderOnly);

    connect(m_pFind, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_dlg.Find(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size())));
        ListVersions();
    });
    connect(m_pFolderOnly, &QCheckBox::toggled, this, [this](bool bOnly) {
        m_dlg.SetFolderOnly(bOnly);
        ListVersions();
    });
    connect(m_pVersions, &QListWidget::currentRowChanged, this, &HistoryDialog::ShowVersion);
    connect(m_pFolders, &QListWidget::currentRowChanged, this, &HistoryDialog::ShowFolder);
    connect(m_pNotes, &QPlainTextEdit::cursorPositionChanged, this, &HistoryDialog::ShowNote);
    const auto restore = [this](CHistoryDlg::Restore what) {
        return [this, what] {
            m_dlg.SetRestore(what);
            accept();
        };
    };
    connect(m_pRestore, &QPushButton::clicked, this, restore(CHistoryDlg::Restore::Folder));
    connect(m_pRestoreNote, &QPushButton::clicked, this, restore(CHistoryDlg::Restore::Note));
    connect(m_pRestoreNotebook, &QPushButton::clicked, this, restore(CHistoryDlg::Restore::Notebook));
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
    ListVersions();
    m_pVersions->setFocus();
}

void HistoryDialog::showEvent(QShowEvent* event)
{
    KeepOnScreen(this);
    QDialog::showEvent(event);
}

QString HistoryDialog::Decode(std::string_view bytes) const
{
    if (m_dlg.Encoding() == TextEncoding::Kind::Windows1252)
        return QString::fromStdString(TextEncoding::Cp1252ToUtf8(bytes));
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

void HistoryDialog::ListVersions()
{
    const QSignalBlocker quiet(m_pVersions);
    m_pVersions->clear();
    const QLocale locale;
    for (const size_t index : m_dlg.Shown()) {
        const VersionChange& change = m_dlg.Versions()[index];
        const QString when = locale.toString(QDateTime::fromMSecsSinceEpoch(change.version.time), QLocale::ShortFormat);
        // The machine and the folders' paths are the file system's and the notebook's bytes.
        m_pVersions->addItem(tr("%1, %2 on %3: %4")
                                 .arg(when, QString::fromStdString(DescribeHistoryKind(change.version.kind)),
                                      QString::fromStdString(change.version.host), QString::fromStdString(DescribeVersionChange(change))));
    }
    m_pVersions->setCurrentRow(m_dlg.Shown().empty() ? -1 : 0);
    ShowVersion(m_pVersions->currentRow());
}

void HistoryDialog::ShowVersion(int row)
{
    if (row >= 0 && m_dlg.Shown()[size_t(row)] != m_dlg.SelectedVersion())
        m_dlg.SelectVersion(m_dlg.Shown()[size_t(row)]);
    const QSignalBlocker quiet(m_pFolders);
    m_pFolders->clear();
    if (row >= 0) {
        for (const std::string& path : m_dlg.Folders())
            m_pFolders->addItem(Decode(path));
        if (m_dlg.SelectedFolder())
            m_pFolders->setCurrentRow(int(*m_dlg.SelectedFolder()));
    }
    ShowFolder(m_pFolders->currentRow());
}

void HistoryDialog::ShowFolder(int row)
{
    if (row >= 0 && (!m_dlg.SelectedFolder() || size_t(row) != *m_dlg.SelectedFolder()))
        m_dlg.SelectFolder(size_t(row));
    const QSignalBlocker quiet(m_pNotes);
    m_pNotes->setPlainText(row >= 0 ? Decode(m_dlg.FolderText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) : QString());
    if (const std::optional<size_t> line = m_dlg.SelectedNoteLine()) {
        QTextCursor at(m_pNotes->document()->findBlockByNumber(int(*line)));
        m_pNotes->setTextCursor(at);
        m_pNotes->centerCursor();
    }
    m_pRestore->setEnabled(row >= 0 && m_dlg.CanRestoreFolder());
    m_pRestoreNote->setEnabled(row >= 0 && m_dlg.CanRestoreNote());
    m_pRestoreNotebook->setEnabled(m_pVersions->currentRow() >= 0 && m_dlg.CanRestoreNotebook());
}

void HistoryDialog::ShowNote()
{
    m_dlg.SelectNoteAtLine(size_t(m_pNotes->textCursor().blockNumber()));
    m_pRestoreNote->setEnabled(m_dlg.CanRestoreNote());
}
