#include <utility>

#include "doc/CQuillboxDoc.h"
#include "format/NotebookWriter.h"
#include "storage/FileLines.h"
#include "model/FolderPath.h"
#include "model/NotebookNames.h"
#include "dialogs/Prompts.h"
#include "platform/Translatable.h"
#include "doc/DocViews.h"
#include "platform/EditControl.h"

namespace {

FileChooser FolderFileChooser(bool bPromptOverwrite)
{
    return { QB_TRANSLATE_NOOP("FileChooser", "Folder Files (*.fol)|*.fol|All Files (*.*)|*.*||"), ".fol", bPromptOverwrite };
}

} // namespace

void CQuillboxDoc::OnExportFolder()
{
    const auto path = m_services.pPrompts->ChooseSaveFile(FolderFileChooser(true));
    if (!path)
        return;
    const SaveResult result = ExportFolder(*path);
    if (!result.ok)
        m_services.pPrompts->ReportProblem(result.problem);
}

void CQuillboxDoc::OnImportFolder()
{
    if (m_pSelFolder && !TakesNewFolders(m_pSelFolder->m_name)) {
        m_services.pPrompts->Tell({ Message::Kind::NoImportIntoTrash });
        return;
    }
    const auto path = m_services.pPrompts->ChooseOpenFile(FolderFileChooser(false));
    if (!path)
        return;
    const ReadReport report = ImportFolder(*path);
    if (report.status != ReadReport::Status::Ok)
        m_services.pPrompts->ReportProblem(report.problem);
}

SaveResult CQuillboxDoc::ExportFolder(const std::string& pathName)
{
    return RunGuarded([&] { return WriteFolderFile(pathName); }, SaveResult { false }, FileProblem::Action::Export,
                      pathName);
}

ReadReport CQuillboxDoc::ImportFolder(const std::string& pathName)
{
    return RunGuarded([&] { return ReadFolderFile(pathName); }, ReadReport { ReadReport::Status::CannotOpen },
                      FileProblem::Action::Import, pathName);
}

bool CQuillboxDoc::WriteFolderFileText(const ChunkSink& sink)
{
    std::string out = "Begin Folder Information\r\n";
    if (m_pSelFolder) {
        std::vector<NotebookSnapshot::Record> records;
        {
            const SiblingCut cut(m_pSelFolder);
            records = CollectRecords(m_pSelFolder, false);
        }
        if (!AppendRecords(records, out, &sink))
            return false;
    }
    out += "End Folder Information\r\n";
    return sink(out);
}

SaveResult CQuillboxDoc::WriteFolderFile(const std::string& pathName)
{
    if (!m_pSelFolder)
        return { false, FileProblem { .kind = FileProblem::Kind::NoFolderToExport }.During(FileProblem::Action::Export, pathName) };
    // Written a piece at a time, so the folders' text is never held twice.
    const WriteResult written
        = WriteFileSafely(pathName, [this](const ChunkSink& sink) { return WriteFolderFileText(sink); });
    if (written.status != WriteResult::Status::Written)
        return { false, written.problem.During(FileProblem::Action::Export, pathName) };
    return {};
}

ReadReport CQuillboxDoc::ReadFolderFile(const std::string& pathName)
{
    FileProblem problem;
    std::optional<LineReader> lines = ReadFileLines(pathName, problem);
    if (!lines)
        return { ReadReport::Status::CannotOpen, problem };
    return ReadFolderLines(*lines, pathName);
}

ReadReport CQuillboxDoc::ImportFolderText(std::string_view bytes, const std::string& source)
{
    return RunGuarded(
        [&] {
            LineReader in(bytes);
            return ReadFolderLines(in, source);
        },
        ReadReport { ReadReport::Status::CannotOpen }, FileProblem::Action::Import, source);
}

ReadReport CQuillboxDoc::RestoreFolder(std::string_view folderFile, const std::string& path, const std::string& source)
{
    const std::vector<std::string> names = SplitFolderPath(path);
    Folder* pParent = nullptr;
    for (size_t count = names.empty() ? 0 : names.size() - 1; count > 0 && !pParent; --count) {
        std::string above;
        for (size_t i = 0; i < count; ++i)
            above += (i ? "/" : "") + EscapeFolderName(names[i]);
        pParent = FindFolderByPath(m_tree, above);
        if (pParent && !TakesNewFolders(pParent->m_name))
            pParent = nullptr;
    }
    // Every notebook as read has a Main.
    if (!pParent)
        pParent = FindFolderByPath(m_tree, kMainName);
    if (!pParent)
        return { ReadReport::Status::CannotOpen,
                 FileProblem { .kind = FileProblem::Kind::Failure, .detail = kMainName }.During(FileProblem::Action::Import, source) };
    m_pTreeView->GetTreeCtrl().SelectItem(pParent->m_hItem);
    return ImportFolderText(folderFile, source);
}

ReadReport CQuillboxDoc::RestoreNote(std::string_view note, TextEncoding::Kind kind, std::string_view folderFile,
                                     const std::string& path, const std::string& source)
{
    Folder* pFolder = FindFolderByPath(m_tree, path);
    if (!pFolder)
        return RestoreFolder(folderFile, path, source);
    m_pTreeView->GetTreeCtrl().SelectItem(pFolder->m_hItem);
    m_pTreeView->FocusEditor(true);
    EditControl& edit = m_pEditView->GetEditCtrl();
    long end = 0;
    long ignored = 0;
    edit.GetSel(end, ignored);
    const int last = edit.LineFromChar(end);
    const bool bBreak = edit.LineLength(end) != 0;
    std::string text = (bBreak ? "\r\n" : "") + TakeText(note, kind);
    if (!text.ends_with('\n'))
        text += "\r\n";
    // Beyond the editor's limit nothing goes in, and the folder stays as it was.
    if (long(text.size()) > edit.GetLimitText() - end) {
        const std::string limit = std::to_string(edit.GetLimitText());
        m_services.pPrompts->Tell({ Message::Kind::FolderTextFull, limit });
        return { ReadReport::Status::CannotOpen };
    }
    edit.ReplaceSel(text);
    const long at = edit.LineIndex(last + (bBreak ? 1 : 0));
    edit.SetSel(at, at);
    return {};
}

ReadReport CQuillboxDoc::ReadFolderLines(LineReader& in, const std::string& pathName)
{
    using Status = ReadReport::Status;
    constexpr FileProblem::Action kImport = FileProblem::Action::Import;
    FileProblem problem;
    if (!in.FindLine("Begin Folder Information"))
        return { Status::NotANotebook, FileProblem { .kind = FileProblem::Kind::NotAFolderFile }.During(kImport, pathName) };

    std::vector<NotebookContents::Record> records;
    const bool bWhole = ReadRecordTree(in, NotebookContents::kOuter, m_encoding,
                                       ConverterFrom(TextEncoding::Detect(in.Data()), in.Data()), records);
    if (records.empty()) {
        problem = in.WhereReadingStopped().During(kImport, pathName);
        problem.bNothingRead = true;
        return { Status::NotANotebook, problem };
    }
    const size_t countBefore = m_tree.GetFolders().size();
    LinkRecords(records);
    ShowNewFolders(countBefore);
    // The last folder read ends up selected, as adding each in turn leaves it.
    m_pTreeView->GetTreeCtrl().SelectItem(m_tree.GetFolders().back()->m_hItem);
    m_pTreeView->FocusEditor(true);
    if (!bWhole)
        return { Status::Incomplete, in.WhereReadingStopped().During(kImport, pathName) };
    return {};
}
