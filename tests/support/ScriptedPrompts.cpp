#include "support/ScriptedPrompts.h"

#include "dialogs/CAssignKeysDlg.h"
#include "dialogs/CChooseFolderDlg.h"
#include "dialogs/CInputDlg.h"
#include "dialogs/CPrefsDlgs.h"
#include "history/CHistoryDlg.h"
#include "words/MessageWords.h"
#include "words/ProblemWords.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::function<void(const std::string&)>& Reporter()
{
    static std::function<void(const std::string&)> reporter;
    return reporter;
}

template <typename Dialog>
std::function<bool(void*)> Erase(std::function<bool(Dialog&)> handler)
{
    return [handler = std::move(handler)](void* p) { return handler(*static_cast<Dialog*>(p)); };
}

} // namespace

ScriptedPrompts::~ScriptedPrompts()
{
    ReportUnfinished();
}

void ScriptedPrompts::SetReporter(std::function<void(const std::string&)> reporter)
{
    Reporter() = std::move(reporter);
}

void ScriptedPrompts::ReportUnfinished()
{
    std::vector<std::string> wrong = std::move(m_failures);
    m_failures.clear();
    for (const Step& step : m_steps)
        wrong.push_back("expected " + step.kind + (step.text.empty() ? "" : " \"" + step.text + "\"") + " never came");
    m_steps.clear();
    for (const std::string& what : wrong) {
        if (!Reporter()) {
            std::fprintf(stderr, "scripted prompts: %s\n", what.c_str());
            std::abort();
        }
        Reporter()(what);
    }
}

void ScriptedPrompts::ExpectMessage(std::string text)
{
    m_steps.push_back({ "message", std::move(text) });
}

void ScriptedPrompts::ExpectYesNo(std::string text, bool yes)
{
    m_steps.push_back({ "yesno", std::move(text), yes });
}

void ScriptedPrompts::ExpectInput(std::function<bool(CInputDlg&)> handler)
{
    m_steps.push_back({ "input", {}, false, 0, {}, Erase(std::move(handler)) });
}

void ScriptedPrompts::ExpectChooseFolder(std::function<bool(CChooseFolderDlg&)> handler)
{
    m_steps.push_back({ "choosefolder", {}, false, 0, {}, Erase(std::move(handler)) });
}

void ScriptedPrompts::ExpectHistory(std::function<bool(CHistoryDlg&)> handler)
{
    m_steps.push_back({ "history", {}, false, 0, {}, Erase(std::move(handler)) });
}

void ScriptedPrompts::ExpectHistoryPrefs(std::function<bool(CHistoryPrefsDlg&)> handler)
{
    m_steps.push_back({ "historyprefs", {}, false, 0, {}, Erase(std::move(handler)) });
}

void ScriptedPrompts::ExpectAssignKeys(std::function<bool(CAssignKeysDlg&)> handler)
{
    m_steps.push_back({ "assignkeys", {}, false, 0, {}, Erase(std::move(handler)) });
}

void ScriptedPrompts::ExpectNewNotePrefs(std::function<bool(CNewNotePrefsDlg&)> handler)
{
    m_steps.push_back({ "newnoteprefs", {}, false, 0, {}, Erase(std::move(handler)) });
}

void ScriptedPrompts::ExpectDeleteFolderPrefs(std::function<bool(CDeleteFolderPrefsDlg&)> handler)
{
    m_steps.push_back({ "deletefolderprefs", {}, false, 0, {}, Erase(std::move(handler)) });
}

void ScriptedPrompts::ExpectSaveFile(std::optional<std::string> path, std::function<void(const FileChooser&)> check)
{
    m_steps.push_back({ "savefile", {}, false, 0, std::move(path), {}, std::move(check) });
}

void ScriptedPrompts::ExpectOpenFile(std::optional<std::string> path, std::function<void(const FileChooser&)> check)
{
    m_steps.push_back({ "openfile", {}, false, 0, std::move(path), {}, std::move(check) });
}

void ScriptedPrompts::ExpectPopupMenu(int menuId, int command)
{
    m_steps.push_back({ "popup", std::to_string(command), false, menuId });
}

void ScriptedPrompts::ExpectRecovery(std::function<RecoveryAnswer(const std::vector<KeptWork>&)> handler)
{
    m_steps.push_back({ .kind = "recovery", .recovery = std::move(handler) });
}

void ScriptedPrompts::ExpectConfirmDiscard(bool bDiscard)
{
    m_steps.push_back({ .kind = "confirmdiscard", .answer = bDiscard });
}

void ScriptedPrompts::ExpectSaveOver(std::string text, SaveOverAnswer answer)
{
    m_steps.push_back({ .kind = "saveover", .text = std::move(text), .saveOver = answer });
}

void ScriptedPrompts::ExpectSaveChanges(std::string text, SaveChangesAnswer answer)
{
    m_steps.push_back({ .kind = "savechanges", .text = std::move(text), .saveChanges = answer });
}

void ScriptedPrompts::ExpectUseSaveCopy(bool bUse)
{
    m_steps.push_back({ .kind = "savecopy", .answer = bUse });
}

std::optional<ScriptedPrompts::Step> ScriptedPrompts::Take(const std::string& kind, const std::string& detail)
{
    if (m_onPrompt)
        m_onPrompt();
    if (m_steps.empty() || m_steps.front().kind != kind) {
        m_failures.push_back("unexpected " + kind + (detail.empty() ? "" : ": " + detail)
                             + (m_steps.empty() ? "" : " (expected " + m_steps.front().kind + ")"));
        return std::nullopt;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    return step;
}

void ScriptedPrompts::Tell(const Message& message)
{
    ShowMessage(DescribeMessage(message, message.Shown()));
}

void ScriptedPrompts::ShowMessage(const std::string& text)
{
    m_messages.push_back(text);
    if (auto step = Take("message", text); step && step->text != text)
        m_failures.push_back("message \"" + text + "\" where \"" + step->text + "\" was expected");
}

void ScriptedPrompts::ReportProblem(const FileProblem& problem)
{
    m_problems.push_back(problem);
    ShowMessage(DescribeProblem(problem));
}

std::optional<ScriptedPrompts::Step> ScriptedPrompts::TakeQuestion(const std::string& kind, const std::string& text)
{
    m_messages.push_back(text);
    auto step = Take(kind, text);
    if (step && step->text != text)
        m_failures.push_back("question \"" + text + "\" where \"" + step->text + "\" was expected");
    return step;
}

bool ScriptedPrompts::Ask(const Question& question)
{
    const auto step = TakeQuestion("yesno", DescribeQuestion(question, question.subject));
    return step && step->answer;
}

bool ScriptedPrompts::RunInputDlg(CInputDlg& dlg)
{
    auto step = Take("input", {});
    return step && step->dialog(&dlg);
}

bool ScriptedPrompts::RunChooseFolderDlg(CChooseFolderDlg& dlg)
{
    auto step = Take("choosefolder", {});
    if (!step)
        return false;
    dlg.OnInitDialog();
    return step->dialog(&dlg);
}

bool ScriptedPrompts::RunHistoryDlg(CHistoryDlg& dlg)
{
    auto step = Take("history", {});
    return step && step->dialog(&dlg);
}

bool ScriptedPrompts::RunHistoryPrefsDlg(CHistoryPrefsDlg& dlg)
{
    auto step = Take("historyprefs", {});
    return step && step->dialog(&dlg);
}

bool ScriptedPrompts::RunAssignKeysDlg(CAssignKeysDlg& dlg)
{
    auto step = Take("assignkeys", {});
    if (!step)
        return false;
    dlg.OnInitDialog();
    return step->dialog(&dlg);
}

bool ScriptedPrompts::RunNewNotePrefsDlg(CNewNotePrefsDlg& dlg)
{
    auto step = Take("newnoteprefs", {});
    return step && step->dialog(&dlg);
}

bool ScriptedPrompts::RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg& dlg)
{
    auto step = Take("deletefolderprefs", {});
    return step && step->dialog(&dlg);
}

std::optional<std::string> ScriptedPrompts::ChooseSaveFile(const FileChooser& chooser)
{
    auto step = Take("savefile", chooser.filter);
    if (!step)
        return std::nullopt;
    if (step->check)
        step->check(chooser);
    return step->path;
}

std::optional<std::string> ScriptedPrompts::ChooseOpenFile(const FileChooser& chooser)
{
    auto step = Take("openfile", chooser.filter);
    if (!step)
        return std::nullopt;
    if (step->check)
        step->check(chooser);
    return step->path;
}

int ScriptedPrompts::TrackPopupMenu(int menuId, int, int)
{
    auto step = Take("popup", std::to_string(menuId));
    if (!step)
        return 0;
    if (step->number != menuId)
        m_failures.push_back("pop-up menu " + std::to_string(menuId) + " where " + std::to_string(step->number) + " was expected");
    return std::stoi(step->text);
}

RecoveryAnswer ScriptedPrompts::AskAboutRecovery(const std::vector<KeptWork>& work)
{
    auto step = Take("recovery", std::to_string(work.size()) + " kept");
    return step ? step->recovery(work) : RecoveryAnswer {};
}

bool ScriptedPrompts::ConfirmDiscard(const KeptWork& work)
{
    auto step = Take("confirmdiscard", work.notebookPath);
    return step && step->answer;
}

bool ScriptedPrompts::AskUseSaveCopy(const std::string& notebookPath, const std::string&)
{
    auto step = Take("savecopy", notebookPath);
    return step && step->answer;
}

SaveOverAnswer ScriptedPrompts::AskSaveOver(const std::string& name, bool bVanished)
{
    const auto step = TakeQuestion("saveover", DescribeSaveOver(bVanished, name));
    return step ? step->saveOver : SaveOverAnswer::Cancel;
}

SaveChangesAnswer ScriptedPrompts::AskSaveChanges(const std::string& path)
{
    const auto step = TakeQuestion("savechanges", DescribeSaveChanges(path));
    return step ? step->saveChanges : SaveChangesAnswer::Cancel;
}
