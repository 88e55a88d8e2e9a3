#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/Prompts.h"

// Prompts answered by a script: a test says, in order, which prompts it expects and what the
// user answers. Each dialog is initialised as a shown dialog would be before its handler runs.
// A prompt that does not match the next expectation is recorded as a failure and answered with
// Cancel (or No, or OK for a message box). What is still wrong when the prompts go (a prompt
// that came unexpected, or one expected that never came) fails the test: it goes to the
// reporter the test program installs, and without one the program stops.
class ScriptedPrompts : public Prompts
{
public:
    ScriptedPrompts() = default;
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    // How a test program fails the running test with a message.
    static void SetReporter(std::function<void(const std::string& what)> reporter);
    // Reports what is wrong now, then forgets it: a test that checks in the middle is not told
    // the same again at the end.
    void ReportUnfinished();

    void ExpectMessage(std::string text);
    void ExpectYesNo(std::string text, bool yes);
    // The handler works the dialog as the user would and returns true for OK.
    void ExpectInput(std::function<bool(CInputDlg&)> handler);
    void ExpectChooseFolder(std::function<bool(CChooseFolderDlg&)> handler);
    void ExpectAssignKeys(std::function<bool(CAssignKeysDlg&)> handler);
    void ExpectNewNotePrefs(std::function<bool(CNewNotePrefsDlg&)> handler);
    void ExpectDeleteFolderPrefs(std::function<bool(CDeleteFolderPrefsDlg&)> handler);
    void ExpectHistory(std::function<bool(CHistoryDlg&)> handler);
    void ExpectHistoryPrefs(std::function<bool(CHistoryPrefsDlg&)> handler);
    void ExpectSaveFile(std::optional<std::string> path, std::function<void(const FileChooser&)> check = {});
    void ExpectOpenFile(std::optional<std::string> path, std::function<void(const FileChooser&)> check = {});
    void ExpectPopupMenu(int menuId, int command);
    // The handler sees the work offered, as the question lists it, and answers.
    void ExpectRecovery(std::function<RecoveryAnswer(const std::vector<KeptWork>&)> handler);
    void ExpectConfirmDiscard(bool bDiscard);
    void ExpectUseSaveCopy(bool bUse);
    // The text as the question words it, and the answer.
    void ExpectSaveOver(std::string text, SaveOverAnswer answer);
    void ExpectSaveChanges(std::string text, SaveChangesAnswer answer);

    // Each recorded, and expected as a message box in the plain words, names and paths as their
    // bytes.
    void Tell(const Message& message) override;
    void ReportProblem(const FileProblem& problem) override;
    bool Ask(const Question& question) override;
    bool RunInputDlg(CInputDlg& dlg) override;
    bool RunChooseFolderDlg(CChooseFolderDlg& dlg) override;
    bool RunHistoryDlg(CHistoryDlg& dlg) override;
    bool RunHistoryPrefsDlg(CHistoryPrefsDlg& dlg) override;
    bool RunAssignKeysDlg(CAssignKeysDlg& dlg) override;
    bool RunNewNotePrefsDlg(CNewNotePrefsDlg& dlg) override;
    bool RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg& dlg) override;
    std::optional<std::string> ChooseSaveFile(const FileChooser& chooser) override;
    std::optional<std::string> ChooseOpenFile(const FileChooser& chooser) override;
    int TrackPopupMenu(int menuId, int x, int y) override;
    RecoveryAnswer AskAboutRecovery(const std::vector<KeptWork>& work) override;
    bool ConfirmDiscard(const KeptWork& work) override;
    bool AskUseSaveCopy(const std::string& notebookPath, const std::string& copyPath) override;
    SaveOverAnswer AskSaveOver(const std::string& name, bool bVanished) override;
    SaveChangesAnswer AskSaveChanges(const std::string& path) override;

    // Called as each prompt comes, before it is answered.
    void OnEachPrompt(std::function<void()> hook) { m_onPrompt = std::move(hook); }

    // Prompts that came unexpected, or differed from what was expected.
    const std::vector<std::string>& Failures() const { return m_failures; }
    // Expectations no prompt has used yet.
    size_t Pending() const { return m_steps.size(); }
    // Every message box text shown, in order.
    const std::vector<std::string>& Messages() const { return m_messages; }
    // Every problem reported, in order.
    const std::vector<FileProblem>& Problems() const { return m_problems; }

private:
    struct Step
    {
        std::string kind;
        std::string text;
        bool answer = false;
        int number = 0;
        std::optional<std::string> path;
        std::function<bool(void*)> dialog;
        std::function<void(const FileChooser&)> check;
        std::function<RecoveryAnswer(const std::vector<KeptWork>&)> recovery;
        SaveOverAnswer saveOver = SaveOverAnswer::Cancel;
        SaveChangesAnswer saveChanges = SaveChangesAnswer::Cancel;
    };
    // The next step when it is of this kind; otherwise records a failure.
    std::optional<Step> Take(const std::string& kind, const std::string& detail);
    void ShowMessage(const std::string& text);
    // The next step when it is this question, worded as expected; records a failure otherwise.
    std::optional<Step> TakeQuestion(const std::string& kind, const std::string& text);

    std::deque<Step> m_steps;
    std::function<void()> m_onPrompt;
    std::vector<std::string> m_failures;
    std::vector<std::string> m_messages;
    std::vector<FileProblem> m_problems;
};
