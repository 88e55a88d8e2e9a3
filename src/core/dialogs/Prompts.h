#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/FileProblem.h"
#include "platform/Messages.h"

class CInputDlg;
class CChooseFolderDlg;
class CAssignKeysDlg;
class CNewNotePrefsDlg;
class CDeleteFolderPrefsDlg;
class CHistoryDlg;
class CHistoryPrefsDlg;

// What a file chooser offers: the filter in the form "Name (*.ext)|*.ext|...||", the
// extension added to a typed name that has none, and the file it shows chosen at first (a path
// as the choosers give it; none when empty).
struct FileChooser
{
    std::string filter;
    std::string defaultExt;
    bool bPromptOverwrite = false;
    std::string initialPath;
};

// Work that a Quillbox which ended before saving it kept, as the recovery question shows it.
struct KeptWork
{
    // The notebook's file as the file system names it; empty for a notebook never saved.
    std::string notebookPath;
    // When the work was kept, in milliseconds since 1970.
    int64_t keptAt = 0;
    // When the notebook's file was last changed, in milliseconds since 1970; nothing when the
    // file is missing.
    std::optional<int64_t> savedAt;
};

// The user's answer to the recovery question.
struct RecoveryAnswer
{
    enum class Action
    {
        Recover,
        Discard,
        Later, // keep all of it, and open the notebook as it was last saved
    };
    Action action = Action::Later;
    // Which of the work offered.
    size_t index = 0;
};

// Everything that asks the user: message boxes, the modal dialogs, the file choosers and the
// pop-up menus. Each Run... call initialises the dialog object, lets the user work it through
// its handlers, and returns true when it ended with OK.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // A message box with an OK button and the program's title, in the front end's words.
    virtual void Tell(const Message& message) = 0;
    // The same, telling what went wrong with a file.
    virtual void ReportProblem(const FileProblem& problem) = 0;
    // A message box with Yes and No; true for Yes.
    virtual bool Ask(const Question& question) = 0;
    // Before a save over the notebook's file `name` (the file system's bytes), which another
    // program changed, or removed when bVanished.
    virtual SaveOverAnswer AskSaveOver(const std::string& name, bool bVanished) = 0;
    // Before a modified notebook closes: its file's path (the file system's bytes), empty for a
    // notebook never saved.
    virtual SaveChangesAnswer AskSaveChanges(const std::string& path) = 0;

    virtual bool RunInputDlg(CInputDlg& dlg) = 0;
    virtual bool RunChooseFolderDlg(CChooseFolderDlg& dlg) = 0;
    virtual bool RunAssignKeysDlg(CAssignKeysDlg& dlg) = 0;
    virtual bool RunNewNotePrefsDlg(CNewNotePrefsDlg& dlg) = 0;
    virtual bool RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg& dlg) = 0;
    virtual bool RunHistoryDlg(CHistoryDlg& dlg) = 0;
    virtual bool RunHistoryPrefsDlg(CHistoryPrefsDlg& dlg) = 0;

    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseSaveFile(const FileChooser& chooser) = 0;
    virtual std::optional<std::string> ChooseOpenFile(const FileChooser& chooser) = 0;

    // Offers kept work, newest first, each with its times.
    virtual RecoveryAnswer AskAboutRecovery(const std::vector<KeptWork>& work) = 0;
    // Asks once more before kept work is discarded for good; true to discard it.
    virtual bool ConfirmDiscard(const KeptWork& work) = 0;

    // An interrupted save left a complete copy of the notebook beside its file: true to open the
    // copy as the notebook's unsaved changes, false to open the file as it is.
    virtual bool AskUseSaveCopy(const std::string& notebookPath, const std::string& copyPath) = 0;

    // Shows pop-up menu `menuId` at a point of the window (x, y); returns the command chosen,
    // or 0 when the menu was dismissed.
    virtual int TrackPopupMenu(int menuId, int x, int y) = 0;
};
