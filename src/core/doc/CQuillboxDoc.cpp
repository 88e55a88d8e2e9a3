#include "doc/CQuillboxDoc.h"

#include <algorithm>

#include "dialogs/Prompts.h"
#include "model/FolderPath.h"
#include "model/NotebookNames.h"
#include "doc/DocViews.h"
#include "format/NoteText.h"
#include "platform/CommandHandlers.h"
#include "platform/CommandIds.h"
#include "platform/CommandSink.h"
#include "platform/EditControl.h"
#include "platform/KeysText.h"
#include "platform/Clock.h"

CQuillboxDoc::CQuillboxDoc(const Services& services)
    : m_keyNames { "F4", "F5", "F7", "F8", "F9", "F11", "F12" }
    , m_services(services)
{
}

CQuillboxDoc::~CQuillboxDoc()
{
    FolderTree::Free(m_pClipFolder);
}

void CQuillboxDoc::BindViews(EditorView* pEditView, TreeView* pTreeView)
{
    m_pEditView = pEditView;
    m_pTreeView = pTreeView;
}

bool CQuillboxDoc::OnNewDocument()
{
    if (!m_pEditView || !m_pTreeView)
        return false;
    // Main, then the Trash, as the file lists them; Main stays selected.
    AddFolder(true, kMainName, {}, true, {}, {});
    Folder* pMain = m_pSelFolder;
    AddFolder(true, kTrashName, {}, true, {}, {});
    m_pSelFolder->SetKey(kTrashKey, kMoveFunction);
    UpdateKeySummary();
    m_pTreeView->GetTreeCtrl().SelectItem(pMain->m_hItem);
    m_pTreeView->FocusEditor(true);
    SetModifiedFlag(false);
    Tell(DocEvent::Read);
    return true;
}

void CQuillboxDoc::SetModifiedFlag(bool bModified)
{
    m_bModified = bModified;
    if (bModified)
        Tell(DocEvent::Changed);
}

ReadReport CQuillboxDoc::OpenUnsaved(const std::string& source, const std::string& notebookPath)
{
    return MakeUnsaved(OnOpenDocument(source), notebookPath);
}

ReadReport CQuillboxDoc::OpenSnapshot(const NotebookSnapshot& snapshot, const std::string& notebookPath)
{
    const ReadReport report = RunGuarded(
        [&] {
            NotebookContents contents = NotebookContents::FromSnapshot(snapshot, m_services.pClock->Now());
            Load(contents);
            return ReadReport {};
        },
        ReadReport { ReadReport::Status::CannotOpen }, FileProblem::Action::Open, notebookPath);
    if (report.Opened())
        Tell(DocEvent::Read);
    return MakeUnsaved(report, notebookPath);
}

ReadReport CQuillboxDoc::ReplaceBySnapshot(const NotebookSnapshot& snapshot, const std::string& notebookPath)
{
    const ReadReport report = RunGuarded(
        [&] {
            // Made before anything goes, so running out of memory loses nothing.
            NotebookContents contents = NotebookContents::FromSnapshot(snapshot, m_services.pClock->Now());
            TreeControl& tree = m_pTreeView->GetTreeCtrl();
            while (Folder* pTop = m_tree.GetRoot()) {
                m_tree.Unlink(pTop);
                tree.DeleteItem(pTop->m_hItem);
                DeleteFolderTree(pTop);
            }
            Load(contents);
            return ReadReport {};
        },
        ReadReport { ReadReport::Status::CannotOpen }, FileProblem::Action::Open, notebookPath);
    return MakeUnsaved(report, notebookPath);
}

ReadReport CQuillboxDoc::MakeUnsaved(const ReadReport& report, const std::string& notebookPath)
{
    if (!report.Opened())
        return report;
    // An incomplete read stayed untitled: a plain Save must not write what could be read of a
    // damaged source over the notebook's file.
    if (report.status == ReadReport::Status::Ok)
        SetPathName(notebookPath);
    m_bModified = true;
    Tell(DocEvent::Replaced);
    return report;
}

void CQuillboxDoc::AddListener(DocListener* pListener)
{
    m_listeners.push_back(pListener);
}

void CQuillboxDoc::RemoveListener(DocListener* pListener)
{
    std::erase(m_listeners, pListener);
}

void CQuillboxDoc::Tell(DocEvent event) const
{
    for (DocListener* pListener : m_listeners)
        pListener->OnDocEvent(event);
}

bool CQuillboxDoc::SaveModified(const std::function<bool()>& save)
{
    if (!IsModified())
        return true;
    switch (m_services.pPrompts->AskSaveChanges(m_strPathName)) {
    case SaveChangesAnswer::Save:
        return save();
    case SaveChangesAnswer::Discard:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}

std::string CQuillboxDoc::NoteHeaderLine() const
{
    return MakeNoteHeader(m_chSeparator, m_bText, m_bDate, m_bTime, m_services.pClock->Now());
}

void CQuillboxDoc::OnCloseDocument()
{
    if (m_services.pKeysText)
        m_services.pKeysText->SetKeysText({});
    Tell(DocEvent::Closed);
}

void CQuillboxDoc::AddFolder(bool bTopLevel, const std::string& name, const std::string& text, bool bSorted,
                             const std::string& key, const std::string& keyFunction)
{
    // A child asked for while nothing is selected (a damaged file) goes to the top level
    // rather than nowhere.
    Folder* pParent = bTopLevel ? nullptr : m_pSelFolder;
    // Last among its siblings, where the tree shows it among those of the same name.
    Folder* pFolder = m_tree.Link(pParent, m_tree.LastChild(pParent), name, text, key, keyFunction);

    const TreeItem hItem = m_pTreeView->InsertFolderItem(name, bSorted, pParent ? pParent->m_hItem : kNoItem);
    m_tree.SetItem(pFolder, hItem);
    m_pTreeView->GetTreeCtrl().SelectItem(hItem);
    m_pTreeView->FocusEditor(true);
    if (name != kTrashName && text.empty())
        m_pEditView->InsertNoteHeader();
    SetModifiedFlag();
    if (!key.empty())
        UpdateKeySummary();
}

void CQuillboxDoc::ShowNewFolders(size_t firstNew)
{
    const std::vector<Folder*>& folders = m_tree.GetFolders();
    if (firstNew >= folders.size())
        return;
    const std::vector<Folder*> added(folders.begin() + static_cast<std::ptrdiff_t>(firstNew), folders.end());
    // What AddFolder leaves in a folder after the next selection change: its text, or a new
    // note's header when it had none (the Trash excepted).
    const SharedText header = NoteHeaderLine() + "\r\n";
    bool bKeyed = false;
    for (Folder* pFolder : added) {
        if (pFolder->m_text.empty() && pFolder->m_name != kTrashName)
            pFolder->m_text = header;
        bKeyed = bKeyed || pFolder->HasKey();
    }
    const std::vector<TreeItem> items = m_pTreeView->InsertFolderItems(added);
    m_tree.ReserveItems(added.size());
    for (size_t i = 0; i < added.size(); ++i)
        m_tree.SetItem(added[i], items[i]);
    SetModifiedFlag();
    if (bKeyed)
        UpdateKeySummary();
}

Folder* CQuillboxDoc::FindFolderByItem(TreeItem hItem, Folder* pStart) const
{
    Folder* pFound = nullptr;
    WalkFolders(pStart, [&](Folder* pFolder) {
        if (pFolder->m_hItem != hItem)
            return false;
        pFound = pFolder;
        return true;
    });
    return pFound;
}

Folder* CQuillboxDoc::GetFolderOfItem(TreeItem hItem) const
{
    return m_tree.GetFolderOfItem(hItem);
}

SharedText CQuillboxDoc::GetFolderText(const Folder* pFolder) const
{
    if (pFolder == m_pSelFolder && m_pEditView)
        return m_pEditView->GetEditCtrl().GetText();
    return pFolder->m_text;
}

Folder* CQuillboxDoc::SelectFolderByItem(TreeItem hItem)
{
    m_pSelFolder = GetFolderOfItem(hItem);
    return m_pSelFolder;
}

void CQuillboxDoc::DeleteFolderTree(Folder* pFolder)
{
    if (!pFolder)
        return;
    WalkFolders(pFolder, [&](const Folder* p) {
        if (p == m_pSelFolder)
            m_pSelFolder = nullptr;
    });
    m_tree.DeleteWithFollowingSiblings(pFolder);
}

void CQuillboxDoc::DeleteClipFolders()
{
    FolderTree::Free(m_pClipFolder);
    m_pClipFolder = nullptr;
}

void CQuillboxDoc::UpdateKeySummary()
{
    // Folders that share a name are told apart as the Assign Keys dialog tells them apart.
    std::string text;
    for (const KeyedFolder& folder : KeyedFolders(m_tree.GetFolders()))
        text += (text.empty() ? "" : ", ") + folder.name + "=" + folder.key;
    if (m_pEditView && m_services.pKeysText)
        m_services.pKeysText->SetKeysText(text);
}

void CQuillboxDoc::SetEncodingKind(TextEncoding::Kind kind)
{
    if (kind == m_encoding.GetKind())
        return;
    m_encoding.SetKind(kind);
    // The tree shows the names read the new way.
    for (const Folder* pFolder : m_tree.GetFolders())
        m_pTreeView->GetTreeCtrl().SetItemText(pFolder->m_hItem, pFolder->m_name);
    if (m_onEncodingChanged)
        m_onEncodingChanged(false);
}

void CQuillboxDoc::ConvertToUtf8()
{
    if (m_encoding.GetKind() == TextEncoding::Kind::Utf8)
        return;
    const auto convert = [](Folder* pFolder) {
        pFolder->m_name = TextEncoding::Cp1252ToUtf8(pFolder->m_name);
        pFolder->m_text = TextEncoding::Cp1252ToUtf8(pFolder->m_text.View());
    };
    for (Folder* pFolder : m_tree.GetFolders())
        convert(pFolder);
    if (m_pClipFolder)
        WalkFolders(m_pClipFolder, convert, false);
    m_pEditView->GetEditCtrl().ConvertText([](std::string_view bytes) { return TextEncoding::Cp1252ToUtf8(bytes); });
    m_encoding.SetKind(TextEncoding::Kind::Utf8);
    for (const Folder* pFolder : m_tree.GetFolders())
        m_pTreeView->GetTreeCtrl().SetItemText(pFolder->m_hItem, pFolder->m_name);
    SetModifiedFlag();
    if (m_onEncodingChanged)
        m_onEncodingChanged(true);
}

void CQuillboxDoc::OnTextTyped(std::u16string_view text)
{
    if (!m_encoding.CanHold(text))
        ConvertToUtf8();
}

std::function<std::string(std::string_view)> CQuillboxDoc::ConverterFrom(TextEncoding::Kind kind, std::string_view bytes)
{
    using Kind = TextEncoding::Kind;
    if (kind == m_encoding.GetKind())
        return {};
    if (kind == Kind::Windows1252)
        return [](std::string_view from) { return TextEncoding::Cp1252ToUtf8(from); };
    // UTF-8 in a Windows-1252 notebook takes the code page when it holds all of the
    // characters, else the notebook turns to UTF-8.
    std::string cp1252;
    if (!TextEncoding::Utf8ToCp1252(bytes, cp1252)) {
        ConvertToUtf8();
        return {};
    }
    return [](std::string_view from) {
        std::string out;
        TextEncoding::Utf8ToCp1252(from, out);
        return out;
    };
}

std::string CQuillboxDoc::TakeText(std::string_view bytes, TextEncoding::Kind kind)
{
    const auto convert = ConverterFrom(kind, bytes);
    return convert ? convert(bytes) : std::string(bytes);
}

Folder* CQuillboxDoc::FindFolderByName(const std::string& name) const
{
    return m_tree.FindByName(name);
}

namespace {

const CommandHandler<CQuillboxDoc> kCommands[] = {
    { cmd::NewFolder, &CQuillboxDoc::OnNewFolder },
    { cmd::RenameFolder, &CQuillboxDoc::OnRenameFolder },
    { cmd::DeleteFolder, &CQuillboxDoc::OnDeleteFolder },
    { cmd::EmptyTrash, &CQuillboxDoc::OnEmptyTrash },
    { cmd::ExportFolder, &CQuillboxDoc::OnExportFolder },
    { cmd::ImportFolder, &CQuillboxDoc::OnImportFolder },
    { cmd::CutFolder, &CQuillboxDoc::OnCutFolder },
    { cmd::CopyFolder, &CQuillboxDoc::OnCopyFolder },
    { cmd::PasteFolder, &CQuillboxDoc::OnPasteFolder },
    { cmd::NoteHeaderPrefs, &CQuillboxDoc::OnNoteHeaderPrefs },
    { cmd::DeleteFolderPrefs, &CQuillboxDoc::OnDeleteFolderPrefs },
    { cmd::AssignKeys, &CQuillboxDoc::OnAssignKeys },
};

} // namespace

bool CQuillboxDoc::HasCommand(int id)
{
    return FindCommandHandler(kCommands, id) != nullptr;
}

void CQuillboxDoc::RunCommand(int id)
{
    if (m_services.pCommands)
        m_services.pCommands->RunCommand(id);
    else if (!m_pEditView->OnCommand(id))
        OnCommand(id);
}

bool CQuillboxDoc::OnCommand(int id)
{
    return RunCommandHandler(kCommands, *this, id);
}
