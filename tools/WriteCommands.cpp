#include <sys/stat.h>

#include <algorithm>
#include <iostream>
#include <iterator>

#include "CliCommands.h"
#include "model/FolderPath.h"
#include "model/NotebookNames.h"
#include "notes/CQuillboxEditView.h"
#include "words/ProblemWords.h"

namespace {

// A note's body as the editor holds text: every line break CR LF, ending in one.
std::string NoteBody(const std::string& text)
{
    std::string body = TextEncoding::WithCrLf(text);
    if (!body.empty() && !body.ends_with("\r\n"))
        body += "\r\n";
    return body;
}

// The folder PATH names, made with its missing folders as New Folder makes them when
// bCreate is set; null after saying why there is none. bCreated tells whether the last one
// is new, and so already holds the header of a first note.
Folder* FolderForNote(HeadlessNotebook& nb, const std::string& operand, const std::string& path, bool bCreate, bool& bCreated)
{
    bCreated = false;
    Folder* pFolder = nullptr;
    for (const std::string& name : SplitFolderPath(ToNotebook(nb, path))) {
        if (Folder* pChild = FindChildFolder(nb.doc.GetFolderTree(), pFolder, name)) {
            pFolder = pChild;
            continue;
        }
        if (!bCreate) {
            Error(Fill(CliText("\"%1\" has no folder \"%2\"; --create makes the missing folders."), { InputPath(operand), path }));
            return nullptr;
        }
        if (!pFolder) {
            Error(Fill(CliText("cannot make the folder \"%1\" at the top level, which holds only Main and Trash."),
                       { FromNotebook(nb, EscapeFolderName(name)) }));
            return nullptr;
        }
        if (name.empty()) {
            Error(Fill(CliText("\"%1\" holds an empty folder name."), { path }));
            return nullptr;
        }
        Folder* pParent = pFolder;
        pFolder = nb.doc.NewFolder(pParent, name);
        if (!pFolder) {
            Error(Fill(CliText("cannot make a folder in \"%1\": the Trash holds no new folders."), { FromNotebook(nb, FolderPath(pParent)) }));
            return nullptr;
        }
        bCreated = true;
    }
    return pFolder;
}

// Words that go into the notebook as if typed: a Windows-1252 notebook turns to UTF-8 when
// they hold a character it lacks.
void Typed(HeadlessNotebook& nb, const std::string& words)
{
    if (TextEncoding::IsValidUtf8(words))
        nb.doc.OnTextTyped(TextEncoding(TextEncoding::Kind::Utf8).Decode(words));
}

} // namespace

int New(const Args& args)
{
    const std::string& operand = args.operands[0];
    // Anything under the name, a dangling symbolic link included, is left alone.
    struct stat st {};
    if (operand != "-" && ::lstat(operand.c_str(), &st) == 0) {
        Error(Fill(CliText("\"%1\" already exists."), { operand }));
        return kFailed;
    }
    HeadlessNotebook nb;
    nb.doc.OnNewDocument();
    return Save(nb, operand, false) ? kOk : kFailed;
}

int Resave(const Args& args)
{
    const std::string& in = args.operands[0];
    const std::string& out = args.operands[1];
    const bool bForce = args.Has("--force");
    if (in != "-" && SameFile(in, out))
        return ChangeNotebook(in, bForce, [](HeadlessNotebook&) { return true; });
    HeadlessNotebook nb;
    if (!Open(nb, in, true))
        return kFailed;
    return Save(nb, out, bForce) ? kOk : kFailed;
}

int Add(const Args& args)
{
    const std::string& operand = args.operands[0];
    if (operand == "-" && args.operands.size() < 3) {
        Error(CliText("the note's text and the notebook cannot both come from standard input."));
        return kUsage;
    }
    std::string text;
    if (args.operands.size() == 3) {
        text = args.operands[2];
    } else {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) {
            Error(CliText("cannot read the note from standard input."));
            return kFailed;
        }
    }
    const bool bCreate = args.Has("--create");
    return ChangeNotebook(operand, args.Has("--force"), [&](HeadlessNotebook& nb) {
        Folder* pSelected = nb.doc.GetSelFolder();
        if (bCreate)
            Typed(nb, args.operands[1]);
        bool bCreated = false;
        Folder* pFolder = FolderForNote(nb, operand, args.operands[1], bCreate, bCreated);
        if (!pFolder)
            return false;
        Typed(nb, text);
        // A folder just made has the header of its first note already.
        if (!nb.editView.AppendNote(pFolder, NoteBody(ToNotebook(nb, text)), bCreated)) {
            Error(Fill(CliText("the note does not fit: a folder holds at most %1 characters. Nothing was written."),
                       { std::to_string(CQuillboxEditView::kTextLimit) }));
            return false;
        }
        if (pSelected)
            Select(nb, pSelected);
        return true;
    });
}

int Import(const Args& args)
{
    const std::string& operand = args.operands[0];
    const std::string& folderFile = args.operands[1];
    if (operand == "-" && folderFile == "-") {
        Error(CliText("the notebook and the folder file cannot both come from standard input."));
        return kUsage;
    }
    const std::string folderPath = InputPath(folderFile);
    return ChangeNotebook(operand, args.Has("--force"), [&](HeadlessNotebook& nb) {
        Folder* pSelected = nb.doc.GetSelFolder();
        Folder* pParent = FindFolder(nb, operand, args.operands[2]);
        if (!pParent)
            return false;
        if (!TakesNewFolders(pParent->m_name)) {
            Error(CliText("cannot import a folder as a child of the \"Trash\" folder; name a different folder."));
            return false;
        }
        Select(nb, pParent);
        const ReadReport report = nb.doc.ImportFolder(folderPath);
        if (report.status != ReadReport::Status::Ok) {
            Error(report.status == ReadReport::Status::Incomplete ? Fill(CliText("%1 Nothing was written."), { DescribeProblem(report.problem) })
                                                                 : DescribeProblem(report.problem));
            return false;
        }
        if (pSelected)
            Select(nb, pSelected);
        return true;
    });
}
