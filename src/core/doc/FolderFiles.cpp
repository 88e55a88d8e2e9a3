#include <utility>

#include "doc/CQuillboxDoc.h"
#include "format/NotebookWriter.h"
#include "storage/FileLines.h"
#include "model/NotebookNames.h"
#include "dialogs/Prompts.h"
#include "platform/Translatable.h"
#include "doc/DocViews.h"

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
    using Status = ReadReport::Status;
    constexpr FileProblem::Action kImport = FileProblem::Action::Import;
    FileProblem problem;
    std::optional<LineReader> lines = ReadFileLines(pathName, problem);
    if (!lines)
        return { Status::CannotOpen, problem };
    LineReader& in = *lines;
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
