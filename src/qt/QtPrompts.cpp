#include "qt/QtPrompts.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>

#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "qt/AssignKeysDialog.h"
#include "qt/ChooseFolderDialog.h"
#include "qt/CommandText.h"
#include "qt/HistoryDialog.h"
#include "qt/InputDialog.h"
#include "qt/PlainMessageBox.h"
#include "qt/PrefsDialogs.h"
#include "qt/ProblemText.h"
#include "qt/RecoveryDialog.h"
#include "qt/TextCodec.h"
#include "words/MessageWords.h"
#include "qt/FilePaths.h"

namespace {

QString Title()
{
    return QtPrompts::tr("Quillbox");
}

std::optional<std::string> ChooseFile(QWidget* parent, const FileChooser& chooser, QFileDialog::AcceptMode mode)
{
    const bool bSave = mode == QFileDialog::AcceptSave;
    QFileDialog dialog(parent, bSave ? QtPrompts::tr("Save As") : QtPrompts::tr("Open"));
    dialog.setObjectName(QStringLiteral("fileChooser"));
    // Qt's own dialog adds the default extension and asks before overwriting on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(QtPrompts::NameFilters(QCoreApplication::translate("FileChooser", chooser.filter.c_str()).toStdString()));
    QString suffix = QString::fromStdString(chooser.defaultExt);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !chooser.bPromptOverwrite);
    // Qt's own column widths cut file types and dates short: they take what they need, and the
    // name the rest.
    if (auto* pView = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* pHeader = pView->header();
        pHeader->setStretchLastSection(false);
        pHeader->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < pHeader->count(); ++column)
            pHeader->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (!chooser.initialPath.empty())
        dialog.selectFile(DecodePath(chooser.initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return EncodePath(dialog.selectedFiles().constFirst());
}


// Tests and screen readers find a box by the name of what it says.
QString ObjectNameOf(Message::Kind kind)
{
    switch (kind) {
    case Message::Kind::OpenElsewhere:
    case Message::Kind::MayBeOpenElsewhere:
        return QStringLiteral("lockWarning");
    case Message::Kind::ChangedWhileModified:
    case Message::Kind::Vanished:
        return QStringLiteral("changedOnDiskWarning");
    default:
        return QStringLiteral("messageBox");
    }
}

} // namespace

QtPrompts::QtPrompts(QWidget* parent, TextCodec& codec)
    : m_pParent(parent)
    , m_codec(codec)
{
}

std::string QtPrompts::Shown(const std::string& subject, bool bPath) const
{
    return (bPath ? DecodePath(subject) : m_codec.Decode(subject)).toStdString();
}

void QtPrompts::Tell(const Message& message)
{
    // What a message carries in detail is words already; a file is named as the file system names it.
    const std::string shown = message.IsAboutAFile() ? Shown(message.subject, true) : message.detail;
    ShowMessage(QString::fromStdString(DescribeMessage(message, shown)), ObjectNameOf(message.kind));
}

SaveOverAnswer QtPrompts::AskSaveOver(const std::string& name, bool bVanished)
{
    PlainMessageBox box(QMessageBox::Warning, Title(), QString::fromStdString(DescribeSaveOver(bVanished, Shown(name, true))),
                        QMessageBox::NoButton, m_pParent, QStringLiteral("changedOnDiskQuestion"));
    QPushButton* pSave = box.addButton(bVanished ? tr("&Save") : tr("&Overwrite"), QMessageBox::DestructiveRole);
    pSave->setObjectName(QStringLiteral("overwriteButton"));
    QPushButton* pSaveAs = box.addButton(tr("Save &As..."), QMessageBox::AcceptRole);
    pSaveAs->setObjectName(QStringLiteral("saveAsButton"));
    // A file that is gone has nothing to merge.
    QPushButton* pMerge = nullptr;
    if (!bVanished) {
        pMerge = box.addButton(tr("&Merge"), QMessageBox::AcceptRole);
        pMerge->setObjectName(QStringLiteral("mergeButton"));
    }
    QPushButton* pCancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(pMerge ? pMerge : pSaveAs);
    box.setEscapeButton(pCancel);
    box.exec();
    if (box.clickedButton() == pSave)
        return SaveOverAnswer::Save;
    if (pMerge && box.clickedButton() == pMerge)
        return SaveOverAnswer::Merge;
    if (box.clickedButton() == pSaveAs)
        return SaveOverAnswer::SaveElsewhere;
    return SaveOverAnswer::Cancel;
}

void QtPrompts::ReportProblem(const FileProblem& problem)
{
    ShowMessage(ProblemText(problem));
}

void QtPrompts::ShowMessage(const QString& text, const QString& objectName)
{
    PlainMessageBox box(QMessageBox::Warning, Title(), text, QMessageBox::Ok, m_pParent, objectName);
    box.exec();
}

bool QtPrompts::Ask(const Question& question)
{
    const QString text = QString::fromStdString(DescribeQuestion(question, Shown(question.subject, question.IsSubjectAPath())));
    PlainMessageBox box(QMessageBox::Question, Title(), text, QMessageBox::Yes | QMessageBox::No, m_pParent,
                        question.kind == Question::Kind::ReadAgain ? QStringLiteral("reloadQuestion") : QStringLiteral("messageBox"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompts::RunInputDlg(CInputDlg& dlg)
{
    InputDialog dialog(dlg, m_codec, m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::RunChooseFolderDlg(CChooseFolderDlg& dlg)
{
    ChooseFolderDialog dialog(dlg, m_codec, m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::RunAssignKeysDlg(CAssignKeysDlg& dlg)
{
    AssignKeysDialog dialog(dlg, m_codec, m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::RunNewNotePrefsDlg(CNewNotePrefsDlg& dlg)
{
    NewNotePrefsDialog dialog(dlg, m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::RunHistoryDlg(CHistoryDlg& dlg)
{
    HistoryDialog dialog(dlg, m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg& dlg)
{
    DeleteFolderPrefsDialog dialog(dlg, m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompts::RunHistoryPrefsDlg(CHistoryPrefsDlg& dlg)
{
    HistoryPrefsDialog dialog(dlg, m_pParent);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<std::string> QtPrompts::ChooseSaveFile(const FileChooser& chooser)
{
    return ChooseFile(m_pParent, chooser, QFileDialog::AcceptSave);
}

std::optional<std::string> QtPrompts::ChooseOpenFile(const FileChooser& chooser)
{
    return ChooseFile(m_pParent, chooser, QFileDialog::AcceptOpen);
}

int QtPrompts::TrackPopupMenu(int menuId, int x, int y)
{
    const std::vector<int>* pItems = nullptr;
    if (menuId == cmd::FolderContextMenu)
        pItems = &FolderContextMenuItems();
    else if (menuId == cmd::NoteContextMenu)
        pItems = &NoteContextMenuItems();
    if (!pItems)
        return 0;
    QMenu menu(m_pParent);
    menu.setObjectName(QStringLiteral("contextMenu"));
    for (const int id : *pItems) {
        const CommandInfo* pInfo = id ? FindCommand(id) : nullptr;
        if (!pInfo) {
            menu.addSeparator();
            continue;
        }
        menu.addAction(CommandMenuText(id, true))->setData(id);
    }
    const QAction* pChosen = menu.exec(QPoint(x, y));
    return pChosen ? pChosen->data().toInt() : 0;
}

SaveChangesAnswer QtPrompts::AskSaveChanges(const std::string& path)
{
    PlainMessageBox box(QMessageBox::Warning, Title(), QString::fromStdString(DescribeSaveChanges(path.empty() ? path : Shown(path, true))),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_pParent, QStringLiteral("saveQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return SaveChangesAnswer::Save;
    case QMessageBox::No:
        return SaveChangesAnswer::Discard;
    default:
        return SaveChangesAnswer::Cancel;
    }
}

RecoveryAnswer QtPrompts::AskAboutRecovery(const std::vector<KeptWork>& work)
{
    RecoveryDialog dialog(work, m_pParent);
    return dialog.exec() == QDialog::Accepted ? dialog.GetAnswer() : RecoveryAnswer {};
}

bool QtPrompts::ConfirmDiscard(const KeptWork& work)
{
    const QString text = work.notebookPath.empty()
        ? tr("Discard the untitled notebook's unsaved work, kept %1?").arg(RecoveryDialog::TimeText(work.keptAt))
        : tr("Discard the unsaved work on \"%1\", kept %2?")
              .arg(RecoveryDialog::NotebookName(work), RecoveryDialog::TimeText(work.keptAt));
    PlainMessageBox box(QMessageBox::Warning, Title(), text, QMessageBox::NoButton, m_pParent, QStringLiteral("discardQuestion"));
    box.setInformativeText(tr("It cannot be brought back."));
    QPushButton* pDiscard = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
    pDiscard->setObjectName(QStringLiteral("discardConfirmButton"));
    QPushButton* pCancel = box.addButton(QMessageBox::Cancel);
    pCancel->setObjectName(QStringLiteral("cancelButton"));
    box.setDefaultButton(pCancel);
    box.setEscapeButton(pCancel);
    box.exec();
    return box.clickedButton() == pDiscard;
}

bool QtPrompts::AskUseSaveCopy(const std::string& notebookPath, const std::string& copyPath)
{
    const QString name = QFileInfo(DecodePath(notebookPath)).fileName();
    const QString copy = DecodePath(copyPath);
    PlainMessageBox box(QMessageBox::Warning, Title(),
                        tr("A save of \"%1\" was cut off, so the file may be damaged or hold what was there "
                           "before. A complete copy of the notebook as it was being saved is kept in \"%2\".")
                            .arg(name, copy),
                        QMessageBox::NoButton, m_pParent, QStringLiteral("saveCopyQuestion"));
    box.setInformativeText(tr("Open the copy as the notebook's unsaved changes, or the file as it is? "
                              "The copy is kept until the notebook is next saved."));
    QPushButton* pCopy = box.addButton(tr("Open the &Copy"), QMessageBox::AcceptRole);
    pCopy->setObjectName(QStringLiteral("useCopyButton"));
    QPushButton* pFile = box.addButton(tr("Open the &File As It Is"), QMessageBox::RejectRole);
    pFile->setObjectName(QStringLiteral("useFileButton"));
    box.setDefaultButton(pCopy);
    box.setEscapeButton(pFile);
    box.exec();
    return box.clickedButton() == pCopy;
}

QStringList QtPrompts::NameFilters(const std::string& filter)
{
    QStringList filters;
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // "*.*" means every file; on Linux many names have no dot.
        for (QString& pattern : patterns) {
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        QString name = parts[i];
        name.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        filters << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}
