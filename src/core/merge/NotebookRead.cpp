#include "merge/NotebookRead.h"

#include <stdexcept>

#include "dialogs/Prompts.h"
#include "window/HeadlessNotebook.h"
#include "platform/Clock.h"

namespace {

// Opening a notebook asks nothing; a prompt would be a fault.
class NoPrompts : public Prompts
{
public:
    void Tell(const Message&) override { Fail(); }
    void ReportProblem(const FileProblem&) override { Fail(); }
    bool Ask(const Question&) override { Fail(); }
    SaveOverAnswer AskSaveOver(const std::string&, bool) override { Fail(); }
    SaveChangesAnswer AskSaveChanges(const std::string&) override { Fail(); }
    bool RunInputDlg(CInputDlg&) override { Fail(); }
    bool RunChooseFolderDlg(CChooseFolderDlg&) override { Fail(); }
    bool RunAssignKeysDlg(CAssignKeysDlg&) override { Fail(); }
    bool RunNewNotePrefsDlg(CNewNotePrefsDlg&) override { Fail(); }
    bool RunDeleteFolderPrefsDlg(CDeleteFolderPrefsDlg&) override { Fail(); }
    std::optional<std::string> ChooseSaveFile(const FileChooser&) override { Fail(); }
    std::optional<std::string> ChooseOpenFile(const FileChooser&) override { Fail(); }
    RecoveryAnswer AskAboutRecovery(const std::vector<KeptWork>&) override { Fail(); }
    bool ConfirmDiscard(const KeptWork&) override { Fail(); }
    bool AskUseSaveCopy(const std::string&, const std::string&) override { Fail(); }
    int TrackPopupMenu(int, int, int) override { Fail(); }

private:
    [[noreturn]] static void Fail() { throw std::logic_error("reading a notebook asked the user something"); }
};

// A clock that reads one moment.
class MomentClock : public Clock
{
public:
    explicit MomentClock(const std::tm& now)
        : m_now(now)
    {
    }
    std::tm Now() const override { return m_now; }

private:
    std::tm m_now;
};

} // namespace

ReadReport ReadNotebookSnapshot(const std::string& path, const std::tm& now, NotebookSnapshot& snapshot, uint64_t* pHash)
{
    HeadlessNotebookOf<NoPrompts, MomentClock> nb(now);
    nb.doc.SetHashFile(pHash != nullptr);
    const ReadReport report = nb.doc.OnOpenDocument(path);
    if (report.Opened()) {
        snapshot = nb.doc.TakeSnapshot();
        if (pHash && nb.doc.GetFileHash())
            *pHash = *nb.doc.GetFileHash();
    }
    return report;
}
