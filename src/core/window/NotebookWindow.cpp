#include "window/NotebookWindow.h"

#include <algorithm>
#include <set>

#include "dialogs/CPrefsDlgs.h"
#include "disk/RecoveryOffer.h"
#include "disk/SaveCopy.h"
#include "disk/UnsavedWork.h"
#include "disk/WorkKeeping.h"
#include "format/NotebookReader.h"
#include "history/CHistoryDlg.h"
#include "merge/ConflictCopies.h"
#include "merge/DiskMerge.h"
#include "model/FolderPath.h"
#include "platform/Clock.h"
#include "platform/Translatable.h"

namespace {

// The conflict copies offered in this run of the program, so that one the user chose to leave is
// not offered again at every return to its notebook's window.
std::set<std::string>& OfferedCopies()
{
    static std::set<std::string> offered;
    return offered;
}

// The files' own names, one a line, as the questions about them list them.
std::string NameList(const std::vector<std::string>& files)
{
    std::string list;
    for (const std::string& file : files)
        list += (list.empty() ? "" : "\n") + FileNameOf(file);
    return list;
}

} // namespace

FileChooser NotebookChooser()
{
    return { QB_TRANSLATE_NOOP("FileChooser", "Quillbox Files (*.not)|*.not|All Files (*.*)|*.*||"), "not", true };
}

NotebookWindow::NotebookWindow(Front& front, const Parts& parts, EditControl& edit, TreeControl& tree)
    : m_front(front)
    , m_prompts(parts.prompts)
    , m_filePrompts(parts.filePrompts)
    , m_clock(parts.clock)
    , m_pKeeping(parts.pKeeping)
    , m_edit(edit)
    , m_doc(Services { &parts.prompts, &parts.clock, parts.pKeysText, parts.pPrinter, parts.pCommands })
    , m_editView(&m_doc, edit)
    , m_treeView(&m_doc, tree)
    , m_watch(parts.filePrompts)
    , m_pBase(std::make_shared<BaseVersion>())
{
    // The file's watch compares what is on the disk with the bytes this window read or wrote.
    m_doc.SetHashFile(true);
    m_editView.OnCreate();
    m_doc.BindViews(&m_editView, &m_treeView);
    if (m_pKeeping) {
        m_pWork = std::make_unique<UnsavedWork>(m_doc, *m_pKeeping, parts.timer);
        m_pWork->SetBase(m_pBase);
        m_pWork->SetStatusListener([this](const std::optional<FileProblem>& problem) { m_front.ShowUnkeptWork(problem); });
    }
}

NotebookWindow::~NotebookWindow() = default;

bool NotebookWindow::New()
{
    const bool bCreated = Batch([this] { return m_doc.OnNewDocument(); });
    m_front.ShowTitle();
    return bCreated;
}

ReadReport NotebookWindow::Open(const std::string& path)
{
    const std::optional<std::string> copy = OfferSaveCopy(path, m_filePrompts);
    if (m_pKeeping) {
        if (const std::optional<RecoveryEntry> entry = m_pKeeping->Offer(m_filePrompts).OfferFor(path)) {
            if (ReadReport report = Recover(*entry); report.Opened())
                return report;
        }
    }
    if (copy) {
        if (ReadReport report = OpenUnsaved(*copy, path, true); report.Opened())
            return report;
    }
    if (std::optional<ReadReport> report = OfferConflictCopies(path))
        return *report;
    const ReadReport report = Batch([&] {
        m_readMoment = m_clock.Now();
        ReadReport read = m_doc.OnOpenDocument(path);
        if (read.status == ReadReport::Status::Ok)
            m_lastRead = m_doc.TakeSnapshot();
        return read;
    });
    if (report.status == ReadReport::Status::Ok) {
        m_watch.OnFileRead(path, m_doc.GetFileHash());
        KeepVersion(path, *m_lastRead, HistoryKind::Read);
    }
    m_front.ShowTitle();
    return report;
}

ReadReport NotebookWindow::OpenUnsaved(const std::string& source, const std::string& notebookPath, bool bClaim)
{
    m_lastRead.reset();
    SetBase(0);
    const ReadReport report = Batch([&] { return m_doc.OpenUnsaved(source, notebookPath); });
    if (!report.Opened())
        return report;
    if (bClaim && report.status == ReadReport::Status::Ok && !notebookPath.empty())
        m_watch.OnFileRead(notebookPath);
    m_front.ShowTitle();
    return report;
}

ReadReport NotebookWindow::OpenMerged(const NotebookSnapshot& merged, const std::string& notebookPath)
{
    m_lastRead.reset();
    SetBase(0);
    const ReadReport report = Batch([&] { return m_doc.OpenSnapshot(merged, notebookPath); });
    if (report.Opened())
        m_front.ShowTitle();
    return report;
}

ReadReport NotebookWindow::OpenMergedOver(const NotebookSnapshot& merged, const std::string& path, NotebookSnapshot file,
                                          std::optional<uint64_t> fileHash)
{
    const ReadReport report = OpenMerged(merged, path);
    if (report.status != ReadReport::Status::Ok)
        return report;
    m_watch.OnFileRead(path, fileHash);
    KeepVersion(path, file, HistoryKind::Read);
    m_lastRead = std::move(file);
    return report;
}

ReadReport NotebookWindow::Recover(const RecoveryEntry& entry)
{
    const RecoveryStore& store = m_pKeeping->Store();
    const std::string work = store.NotebookPath(entry.key);
    std::optional<ReadReport> report = MergeRecovered(work, entry);
    if (!report)
        report = OpenUnsaved(work, entry.notebookPath, true);
    // The work became this window's, kept under its own key as it opened; the old file goes
    // only once that is written.
    if (report->Opened() && m_pWork && m_pWork->IsKept())
        store.Remove(entry.key);
    return *report;
}

std::optional<ReadReport> NotebookWindow::MergeRecovered(const std::string& work, const RecoveryEntry& entry)
{
    const std::string& path = entry.notebookPath;
    if (path.empty())
        return std::nullopt;
    m_readMoment = m_clock.Now();
    NotebookSnapshot ours;
    if (ReadNotebookSnapshot(work, m_readMoment, ours).status != ReadReport::Status::Ok)
        return std::nullopt;
    const std::optional<NotebookSnapshot> base = entry.baseVersion ? m_pKeeping->Version(entry.baseVersion) : std::nullopt;
    DiskMerge merge = MergeWithDisk(
        [&](const NotebookSnapshot& mine, const NotebookSnapshot& disk) { return base ? base : m_pKeeping->CommonVersion(path, mine, disk); },
        ours, path, m_readMoment, { TheirsVersionLine(kWindowMergeLabels) });
    if (merge.report.status != ReadReport::Status::Ok)
        return std::nullopt;
    // Nobody wrote the file since: the work opens as it was kept, over it.
    if (base && SameNotebook(*base, merge.disk)) {
        const ReadReport report = OpenUnsaved(work, path, false);
        if (report.Opened()) {
            m_watch.OnFileRead(path, merge.diskHash);
            m_lastRead = std::move(merge.disk);
            SetBase(entry.baseVersion);
        }
        return report;
    }
    const ReadReport report = OpenMergedOver(merge.merged.notebook, path, std::move(merge.disk), merge.diskHash);
    if (report.status == ReadReport::Status::Ok)
        ListMergeChoices(merge.merged.events, kWindowMergeLabels, MergeKind::DiskChange);
    return report;
}

bool NotebookWindow::Save()
{
    const std::string path = m_doc.GetPathName();
    return path.empty() ? SaveAs() : DoSave(path);
}

bool NotebookWindow::SaveAs()
{
    const std::optional<std::string> path = m_prompts.ChooseSaveFile(NotebookChooser());
    return path && DoSave(*path);
}

bool NotebookWindow::DoSave(const std::string& path)
{
    const auto save = [&](bool bReplaceReadOnly, const ReplaceCheck& unchanged) {
        return Batch([&] { return m_doc.OnSaveDocument(path, bReplaceReadOnly, unchanged); });
    };
    switch (m_watch.Save(path, save)) {
    case FileWatch::SaveOutcome::Saved:
        break;
    case FileWatch::SaveOutcome::Elsewhere:
        return SaveAs();
    case FileWatch::SaveOutcome::Merge:
        MergeDiskChange(path);
        return false;
    case FileWatch::SaveOutcome::Failed:
        return false;
    }
    m_lastRead = Batch([this] { return m_doc.TakeSnapshot(); });
    KeepVersion(path, *m_lastRead, HistoryKind::Saved);
    m_watch.OnFileRead(path, m_doc.GetFileHash());
    m_front.Saved(path);
    m_front.ShowTitle();
    return true;
}

void NotebookWindow::MergeDiskChange(const std::string& path)
{
    DiskMerge merge = Batch([&] {
        return MergeWithDisk([&](const NotebookSnapshot& ours, const NotebookSnapshot& disk) { return FindBase(path, ours, disk); },
                             m_doc.TakeSnapshot(), path, m_readMoment, { TheirsVersionLine(kWindowMergeLabels) });
    });
    if (merge.report.status != ReadReport::Status::Ok) {
        m_prompts.ReportProblem(merge.report.problem);
        return;
    }
    NotebookWindow* pMerged = m_front.MakeWindow();
    if (!pMerged)
        return;
    ReadReport report;
    try {
        report = pMerged->OpenMerged(merge.merged.notebook, path);
    } catch (...) {
        m_front.DropWindow(*pMerged);
        throw;
    }
    if (report.status != ReadReport::Status::Ok) {
        m_front.DropWindow(*pMerged);
        m_prompts.ReportProblem(report.problem);
        return;
    }
    // The file now holds what was merged in: the base of the merged window's next merge.
    pMerged->KeepVersion(path, merge.disk, HistoryKind::Read);
    pMerged->m_lastRead = std::move(merge.disk);
    pMerged->m_readMoment = m_readMoment;
    // The merged window kept its work as it opened, so this one lets go of its own, and of the
    // file, which the merged one then claims without being told of another. When the merged
    // work could not be kept, this window's stays where it is, to be offered as an ended
    // window's.
    if (pMerged->m_pWork && !pMerged->m_pWork->IsKept())
        m_pWork.reset();
    Close();
    pMerged->m_watch.OnFileRead(path, merge.diskHash);
    m_front.ShowWindow(*pMerged);
    pMerged->ListMergeChoices(merge.merged.events, kWindowMergeLabels, MergeKind::DiskChange);
    m_front.CloseWindow();
}

std::optional<ReadReport> NotebookWindow::OfferConflictCopies(const std::string& path)
{
    const std::vector<std::string> copies = FindConflictCopies(path);
    OfferedCopies().insert(copies.begin(), copies.end());
    if (copies.empty() || !m_filePrompts.Ask({ Question::Kind::MergeConflictCopies, NameList(copies) }))
        return std::nullopt;
    m_readMoment = m_clock.Now();
    const auto findBase = [&](const NotebookSnapshot& notebook, const NotebookSnapshot& copy) {
        return m_pKeeping ? m_pKeeping->CommonVersion(path, notebook, copy) : std::nullopt;
    };
    CopiesMerge merge = MergeConflictCopies(path, copies, findBase, m_readMoment, { TheirsVersionLine(kCopyMergeLabels) });
    // A notebook that does not read whole opens as it is, which says why.
    if (merge.report.status != ReadReport::Status::Ok)
        return std::nullopt;
    for (const FileProblem& problem : merge.problems)
        m_filePrompts.ReportProblem(problem);
    if (!merge.bMerged)
        return std::nullopt;
    const ReadReport report = OpenMergedOver(merge.merged.notebook, path, std::move(merge.notebook), merge.hash);
    if (report.status != ReadReport::Status::Ok)
        return report;
    if (!merge.mergedCopies.empty() && m_filePrompts.Ask({ Question::Kind::TrashConflictCopies, NameList(merge.mergedCopies) })) {
        for (const std::string& copy : merge.mergedCopies) {
            if (!m_front.MoveToTrash(copy))
                m_filePrompts.Tell({ Message::Kind::NotTrashed, {}, FileNameOf(copy) });
        }
    }
    ListMergeChoices(merge.merged.events, kCopyMergeLabels, MergeKind::ConflictCopies);
    return report;
}

void NotebookWindow::KeepVersion(const std::string& path, NotebookSnapshot snapshot, HistoryKind kind)
{
    SetBase(0);
    if (m_pKeeping)
        m_pKeeping->KeepVersion(path, std::move(snapshot), kind, m_pBase);
}

void NotebookWindow::SetBase(int64_t id)
{
    // A new one, so that a version still being kept for the old base cannot name itself here.
    m_pBase = std::make_shared<BaseVersion>();
    m_pBase->id = id;
    if (m_pWork)
        m_pWork->SetBase(m_pBase);
}

std::optional<NotebookSnapshot> NotebookWindow::FindBase(const std::string& path, const NotebookSnapshot& ours,
                                                         const NotebookSnapshot& theirs)
{
    if (m_lastRead)
        return m_lastRead;
    return m_pKeeping ? m_pKeeping->CommonVersion(path, ours, theirs) : std::nullopt;
}

void NotebookWindow::ShowHistory()
{
    const std::string path = m_doc.GetPathName();
    if (path.empty() || !m_pKeeping)
        return;
    const Folder* pSelected = m_doc.GetSelFolder();
    CHistoryDlg dlg([this, &path](const std::string& folder) { return m_pKeeping->Log(path, folder); },
                    [this](int64_t id) { return m_pKeeping->Version(id); }, pSelected ? FolderPath(pSelected) : "",
                    m_doc.TakeSnapshot());
    if (dlg.Versions().empty()) {
        m_filePrompts.Tell({ Message::Kind::NoHistory, {}, FileNameOf(path) });
        return;
    }
    if (!m_prompts.RunHistoryDlg(dlg))
        return;
    ReadReport report;
    switch (dlg.GetRestore()) {
    case CHistoryDlg::Restore::Folder:
        if (!dlg.CanRestoreFolder())
            return;
        report = Batch([&] { return m_doc.RestoreFolder(dlg.RestoreText(), dlg.RestorePath(), path); });
        break;
    case CHistoryDlg::Restore::Note:
        if (!dlg.CanRestoreNote())
            return;
        report = Batch([&] {
            return m_doc.RestoreNote(dlg.RestoreNoteText(), dlg.Encoding(), dlg.RestoreNoteFolder(), dlg.RestorePath(), path);
        });
        break;
    case CHistoryDlg::Restore::Notebook:
        // The version takes the place of the window's notebook: its unsaved changes are saved
        // first, or let go as the user says.
        if (!dlg.CanRestoreNotebook() || !SaveModified())
            return;
        // The file stays as it was read, the base of the next merge.
        report = Batch([&] { return m_doc.ReplaceBySnapshot(*dlg.RestoreNotebook(), path); });
        if (report.Opened())
            m_front.ShowTitle();
        break;
    }
    if (report.problem)
        m_prompts.ReportProblem(report.problem);
}

void NotebookWindow::ListMergeChoices(const std::vector<MergeEvent>& events, const MergeLabels& labels, MergeKind kind)
{
    if (events.empty())
        return;
    m_mergeChoices = MergeChoices { events, labels, kind };
    m_front.ShowMergeEvents(events, labels, kind);
}

void NotebookWindow::ShowMergeChoices()
{
    if (m_mergeChoices)
        m_front.ShowMergeEvents(m_mergeChoices->events, m_mergeChoices->labels, m_mergeChoices->kind);
}

void NotebookWindow::ShowHistoryPrefs()
{
    if (!m_pKeeping)
        return;
    FileProblem problem;
    const std::optional<int> megabytes = m_pKeeping->HistoryLimit(problem);
    if (!megabytes) {
        m_filePrompts.ReportProblem(problem);
        return;
    }
    CHistoryPrefsDlg dlg;
    dlg.m_nMegabytes = *megabytes;
    if (m_prompts.RunHistoryPrefsDlg(dlg) && !m_pKeeping->SetHistoryLimit(dlg.m_nMegabytes, problem))
        m_filePrompts.ReportProblem(problem);
}

bool NotebookWindow::SaveModified()
{
    if (!m_doc.IsModified())
        return true;
    m_front.BringToFront();
    return m_doc.SaveModified([this] { return Save(); });
}

void NotebookWindow::Close()
{
    if (m_bClosed)
        return;
    m_bClosed = true;
    m_watch.Forget();
    m_doc.OnCloseDocument();
}

void NotebookWindow::CheckDisk()
{
    const std::string path = m_doc.GetPathName();
    if (m_bClosed || path.empty())
        return;
    // Conflict copies a sync tool left while the notebook was open: a notebook with no unsaved
    // work opens again, which offers them; one with unsaved work offers them at its next open.
    const auto isNew = [](const std::string& copy) { return !OfferedCopies().contains(copy); };
    const std::vector<std::string> copies = m_doc.IsModified() ? std::vector<std::string>() : FindConflictCopies(path);
    if (!m_watch.OfferReload(path, m_doc.IsModified()) && std::none_of(copies.begin(), copies.end(), isNew))
        return;
    Close();
    m_front.CloseWindow();
    m_front.Reopen(path);
}

void NotebookWindow::Run(const std::function<void()>& command)
{
    try {
        Batch(command);
    } catch (const std::exception& e) {
        m_prompts.Tell({ .kind = Message::Kind::CommandFailed, .problem = ExceptionProblem(e) });
    }
}

void NotebookWindow::OnIdle()
{
    if (m_pWork)
        m_pWork->OnIdle();
}
