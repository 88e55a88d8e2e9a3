#pragma once

#include <stdexcept>
#include <string>

#include "window/HeadlessNotebook.h"
#include "platform/Clock.h"
#include "dialogs/Prompts.h"
#include "words/MessageWords.h"
#include "words/ProblemWords.h"

// Prompts for a program with nobody to answer them: opening, saving and reading a notebook
// never ask, so any prompt is a fault and stops the program with an exception.
class FailingPrompts : public Prompts
{
public:
    void Tell(const Message& message) override { Fail("message \"" + DescribeMessage(message, message.Shown()) + "\""); }
    void ReportProblem(const FileProblem& problem) override { Fail("message \"" + DescribeProblem(problem) + "\""); }
    bool Ask(const Question& question) override { Fail("question \"" + DescribeQuestion(question, question.subject) + "\""); }
    bool RunInputDlg(CInputDlg&) override { Fail("input dialog"); }
    bool RunChooseFolderDlg(CChooseFolderDlg&) override { Fail("Choose Folder dialog"); }
    bool RunAssignKeysDlg(CAssignKeysDlg&) override { Fail("Assign Keys dialog"); }
    bool RunNewNotePrefsDlg(CNewNotePrefsDlg&) override { Fail("Note Header dialog"); }
    bool RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg&) override { Fail("Delete Folder dialog"); }
    bool RunHistoryDlg(CHistoryDlg&) override { Fail("History dialog"); }
    bool RunHistoryPrefsDlg(CHistoryPrefsDlg&) override { Fail("History Preferences dialog"); }
    std::optional<std::string> ChooseSaveFile(const FileChooser&) override { Fail("file chooser"); }
    std::optional<std::string> ChooseOpenFile(const FileChooser&) override { Fail("file chooser"); }
    int TrackPopupMenu(int, int, int) override { Fail("pop-up menu"); }
    RecoveryAnswer AskAboutRecovery(const std::vector<KeptWork>&) override { Fail("recovery question"); }
    bool ConfirmDiscard(const KeptWork&) override { Fail("recovery question"); }
    SaveOverAnswer AskSaveOver(const std::string& name, bool) override { Fail("question about \"" + name + "\""); }
    SaveChangesAnswer AskSaveChanges(const std::string& path) override { Fail("question about \"" + path + "\""); }
    bool AskUseSaveCopy(const std::string&, const std::string&) override { Fail("interrupted save question"); }

private:
    [[noreturn]] static void Fail(const std::string& what)
    {
        throw std::logic_error("unexpected prompt: " + what);
    }
};

// The notebook of a program with nobody to answer prompts, on the machine's clock.
using HeadlessNotebook = HeadlessNotebookOf<FailingPrompts, SystemClock>;
