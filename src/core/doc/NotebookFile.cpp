#include <vector>

#include "doc/CQuillboxDoc.h"
#include "doc/DocViews.h"
#include "format/NotebookWriter.h"
#include "platform/Clock.h"
#include "storage/FileIdentity.h"

std::vector<NotebookSnapshot::Record> CQuillboxDoc::CollectRecords(Folder* pFolder, bool bWithKeys) const
{
    std::vector<NotebookSnapshot::Record> records;
    records.reserve(m_tree.GetFolders().size());
    WalkFolders(pFolder, [&](const Folder* p) {
        NotebookSnapshot::Record& record = records.emplace_back();
        for (const Folder* pChild = p->m_pFirstChild; pChild; pChild = pChild->m_pNext)
            ++record.children;
        record.name = p->m_name;
        if (bWithKeys && p->HasKey())
            record.key = *p->GetKey();
        record.text = GetFolderText(p);
    });
    return records;
}

void CQuillboxDoc::LinkRecords(std::vector<NotebookContents::Record>& records)
{
    Folder* const pOuter = m_pSelFolder;
    Folder* pLastTop = m_tree.LastChild(nullptr);
    Folder* pLastOuter = pOuter ? m_tree.LastChild(pOuter) : nullptr;
    // Each record's folder, and the last child linked under it so far.
    std::vector<Folder*> linked(records.size(), nullptr);
    std::vector<Folder*> lastChild(records.size(), nullptr);
    for (size_t i = 0; i < records.size(); ++i) {
        NotebookContents::Record& record = records[i];
        Folder* pParent = nullptr;
        Folder** ppPrev = &pLastTop;
        if (record.parent == NotebookContents::kOuter) {
            // A folder file read while nothing is selected (a damaged notebook) goes to the top.
            if (pOuter) {
                pParent = pOuter;
                ppPrev = &pLastOuter;
            }
        } else if (record.parent != NotebookContents::kTopLevel) {
            pParent = linked[record.parent];
            ppPrev = &lastChild[record.parent];
        }
        const std::string key = record.key ? record.key->key : std::string();
        const std::string function = record.key ? record.key->function : std::string();
        linked[i] = m_tree.Link(pParent, *ppPrev, std::move(record.name), std::move(record.text), key, function);
        *ppPrev = linked[i];
    }
}

SaveResult CQuillboxDoc::OnSaveDocument(const std::string& pathName, bool bReplaceReadOnly, const ReplaceCheck& unchanged)
{
    const SaveResult result = RunGuarded([&] { return SaveNotebook(pathName, bReplaceReadOnly, unchanged); },
                                         SaveResult { false }, FileProblem::Action::Save, pathName);
    if (result.ok)
        Tell(DocEvent::Saved);
    return result;
}

ReadReport CQuillboxDoc::OnOpenDocument(const std::string& pathName)
{
    const ReadReport report = RunGuarded([&] { return OpenNotebook(pathName); }, ReadReport { ReadReport::Status::CannotOpen },
                                         FileProblem::Action::Open, pathName);
    if (report.Opened())
        Tell(DocEvent::Read);
    return report;
}

NotebookSnapshot CQuillboxDoc::TakeSnapshot() const
{
    NotebookSnapshot snapshot;
    snapshot.selectedName = m_pSelFolder ? m_pSelFolder->m_name : std::string();
    snapshot.date = m_bDate;
    snapshot.time = m_bTime;
    snapshot.text = m_bText;
    snapshot.promptDelete = m_bPromptDelete;
    snapshot.records = CollectRecords(m_tree.GetRoot(), true);
    snapshot.encoding = m_encoding.GetKind();
    return snapshot;
}

SaveResult CQuillboxDoc::SaveNotebook(const std::string& pathName, bool bReplaceReadOnly, const ReplaceCheck& unchanged)
{
    // Written a piece at a time, so a notebook's text is never held twice.
    const NotebookSnapshot snapshot = TakeSnapshot();
    ContentHash hash;
    const auto produce = [&](const ChunkSink& sink) {
        return WriteNotebook(snapshot, [&](std::string_view chunk) {
            if (m_bHashFile)
                hash.Add(chunk);
            return sink(chunk);
        });
    };
    const WriteResult written = WriteFileSafely(pathName, produce, bReplaceReadOnly, unchanged);
    if (written.status != WriteResult::Status::Written)
        return { false, written.problem.During(FileProblem::Action::Save, pathName),
                 written.status == WriteResult::Status::ReadOnly };
    m_fileHash = m_bHashFile ? std::optional(hash.Value()) : std::nullopt;
    SetPathName(pathName);
    SetModifiedFlag(false);
    return {};
}

void CQuillboxDoc::Load(NotebookContents& contents)
{
    m_bDate = contents.date;
    m_bTime = contents.time;
    m_bText = contents.text;
    m_bPromptDelete = contents.promptDelete;
    const size_t firstNew = m_tree.GetFolders().size();
    LinkRecords(contents.records);
    SetEncodingKind(contents.encoding);
    ShowNewFolders(firstNew);
    if (contents.selected < contents.records.size())
        m_pTreeView->GetTreeCtrl().SelectItem(m_tree.GetFolders()[firstNew + contents.selected]->m_hItem);
    m_pTreeView->FocusEditor(true);
    UpdateKeySummary();
}

NotebookContents CQuillboxDoc::HeaderValues() const
{
    NotebookContents contents;
    contents.date = m_bDate;
    contents.time = m_bTime;
    contents.text = m_bText;
    contents.promptDelete = m_bPromptDelete;
    return contents;
}

ReadReport CQuillboxDoc::OpenNotebook(const std::string& pathName)
{
    NotebookContents contents = HeaderValues();
    const ReadReport report = ReadNotebookFile(pathName, m_services.pClock->Now(), contents, m_bHashFile);
    if (!report.Opened())
        return report;
    Load(contents);
    if (report.status == ReadReport::Status::Incomplete) {
        // What was read opens as an unsaved, untitled notebook: a plain Save must not write
        // the shortened notebook over the file it came from.
        SetPathName({});
        SetModifiedFlag(true);
        return report;
    }
    m_fileHash = contents.hash;
    SetPathName(pathName);
    SetModifiedFlag(false);
    return report;
}
