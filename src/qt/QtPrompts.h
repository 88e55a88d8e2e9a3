#pragma once

#include <QCoreApplication>
#include <QStringList>

#include "dialogs/Prompts.h"

class QWidget;
class TextCodec;

// Prompts on screen: message boxes titled "Quillbox", one modal dialog per dialog class, the
// file choosers and the two pop-up menus. Menu points (x, y) are global screen co-ordinates,
// as the Qt controls forward them.
class QtPrompts : public Prompts
{
    Q_DECLARE_TR_FUNCTIONS(QtPrompts)

public:
    QtPrompts(QWidget* parent, TextCodec& codec);

    void Tell(const Message& message) override;
    void ReportProblem(const FileProblem& problem) override;
    bool Ask(const Question& question) override;
    SaveOverAnswer AskSaveOver(const std::string& name, bool bVanished) override;
    SaveChangesAnswer AskSaveChanges(const std::string& path) override;
    bool RunInputDlg(CInputDlg& dlg) override;
    bool RunChooseFolderDlg(CChooseFolderDlg& dlg) override;
    bool RunAssignKeysDlg(CAssignKeysDlg& dlg) override;
    bool RunNewNotePrefsDlg(CNewNotePrefsDlg& dlg) override;
    bool RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg& dlg) override;
    bool RunHistoryDlg(CHistoryDlg& dlg) override;
    bool RunHistoryPrefsDlg(CHistoryPrefsDlg& dlg) override;
    std::optional<std::string> ChooseSaveFile(const FileChooser& chooser) override;
    std::optional<std::string> ChooseOpenFile(const FileChooser& chooser) override;
    int TrackPopupMenu(int menuId, int x, int y) override;
    RecoveryAnswer AskAboutRecovery(const std::vector<KeptWork>& work) override;
    bool ConfirmDiscard(const KeptWork& work) override;
    bool AskUseSaveCopy(const std::string& notebookPath, const std::string& copyPath) override;

    // "Folder Files (*.fol)|*.fol|All Files (*.*)|*.*||" as Qt's name filters.
    static QStringList NameFilters(const std::string& filter);

private:
    void ShowMessage(const QString& text, const QString& objectName = QStringLiteral("messageBox"));
    // A subject as the window shows it, for the words: a path by the file system's naming,
    // anything else by the notebook's encoding.
    std::string Shown(const std::string& subject, bool bPath) const;

    QWidget* m_pParent;
    TextCodec& m_codec;
};
