#include <csignal>
#include <random>
#include <unordered_map>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "NotebookFileTestFiles.h"
#include "format/NotebookWriter.h"
#include "storage/FileIdentity.h"
#include "words/ProblemWords.h"

namespace {

using Status = ReadReport::Status;
using namespace std::string_literals;

// Saves nb to `path`, expecting success.
void Save(Notebook& nb, const std::string& path)
{
    const SaveResult result = nb.doc.OnSaveDocument(path);
    EXPECT_TRUE(result.ok) << DescribeProblem(result.problem);
}

// A notebook opened from `path`, expecting `status`.
std::unique_ptr<Notebook> Open(const std::string& path, Status status = Status::Ok)
{
    auto nb = std::make_unique<Notebook>();
    const ReadReport report = nb->doc.OnOpenDocument(path);
    EXPECT_EQ(report.status, status) << DescribeProblem(report.problem);
    EXPECT_EQ(DescribeProblem(report.problem).empty(), status == Status::Ok) << DescribeProblem(report.problem);
    return nb;
}

// Every folder's text-holding place, the editor included, walked in file order.
size_t CountFolders(const Notebook& nb)
{
    size_t count = 0;
    WalkFolders(nb.doc.GetRootFolder(), [&](Folder*) { ++count; });
    return count;
}

// A notebook with nesting, keys (one key on two folders), duplicate names, "%" in names and
// texts, blank lines, long lines, lines that read "End Folder", bytes beyond ASCII and NUL.
std::unique_ptr<Notebook> VariedNotebook()
{
    auto nb = Notebook::New();
    CQuillboxDoc& doc = nb->doc;
    doc.SetNoteHeaderPrefs(1, 0, 1);
    doc.SetDeleteFolderPrefs(0);
    nb->Select("Main");
    doc.AddFolder(false, "Ideas", "first idea\r\n\r\n\r\nafter two blank lines\r\n", true, "F4", "Copy");
    doc.AddFolder(false, "Deeper",
                  "End Folder\r\n\x1b" "End Folder\r\n\x1b\x1b" "End Folder\r\nEnd Folder \r\n x\x1b" "End Folder\r\n", true,
                  {}, {});
    doc.AddFolder(false, std::string(1000, 'n'), std::string(2000, 'x') + "\r\n", true, "F5", "Move");
    nb->Select("Main");
    doc.AddFolder(false, "100% sure %s %d %n", "50% off %s%s%s %n\r\n", true, "F4", "Move");
    doc.AddFolder(false, "caf\xe9 \xff\xfe", "nul\0inside\r\n\x80\x81\x9d\r\nlone\rcr\r\n"s, true, {}, {});
    nb->Select("Main");
    doc.AddFolder(false, "Ideas", "a second folder named Ideas\r\n", true, {}, {});
    doc.AddFolder(false, "Empty", {}, true, {}, {});
    nb->Select("Trash");
    nb->edit.SetText("a deleted note\r\n");
    nb->Select("Deeper");
    nb->edit.SetSel(static_cast<long>(nb->edit.GetText().size()), -1);
    nb->edit.TypeChar('!');
    nb->edit.TypeChar('\r');
    return nb;
}

const char* const kDocumentedExample = R"(Begin Selected Folder
Main
End Selected Folder

Begin New Note Preferences
Date
1
Time
0
Text
1
End New Note Preferences

Begin Delete Folder Preferences
Prompt
1
End Delete Folder Preferences

Begin Folder Information
Begin Folder
Folder Name
Main
Assigned Key
None
Number of Children
0
Folder Text
------ New Note 12/06/97 ------
End Folder
Begin Folder
Folder Name
Trash
Assigned Key
F3
Assigned Key Function
Move
Number of Children
0
Folder Text
End Folder
End Folder Information
)";

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char ch : text)
        out += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    return out;
}

} // namespace

TEST(NotebookFileSave, NewNotebookGivesTheDocumentedFileByteForByte)
{
    TempDir dir;
    auto nb = Notebook::New();
    nb->doc.SetModifiedFlag();
    Save(*nb, dir.Path("new.not"));
    EXPECT_EQ(ReadBytes(dir.Path("new.not")), WithCrLf(kDocumentedExample));
    EXPECT_EQ(ReadBytes(DataFile("new-notebook.not")), WithCrLf(kDocumentedExample));
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_EQ(nb->doc.GetPathName(), dir.Path("new.not"));
    EXPECT_EQ(dir.Listing(), "new.not");
}

TEST(NotebookFileSave, WritesTheEditorsTextForTheSelectedFolderWithoutStoringIt)
{
    TempDir dir;
    auto nb = Notebook::New();
    nb->edit.SetText("typed\r\n");
    Save(*nb, dir.Path("a.not"));
    EXPECT_NE(ReadBytes(dir.Path("a.not")).find("Folder Text\r\ntyped\r\nEnd Folder"), std::string::npos);
    // Emptying the editor afterwards and leaving the folder must not bring the saved text back.
    nb->edit.SetText({});
    nb->Select("Trash");
    nb->Select("Main");
    EXPECT_EQ(nb->edit.GetText(), "");
}

TEST(NotebookFileSave, TextLinesReadingEndFolderGainAnEscapeAndAllElseIsWrittenAsIs)
{
    TempDir dir;
    auto nb = Notebook::New();
    nb->edit.SetText("End Folder\r\n\x1b" "End Folder\r\nEnd Folder!\r\n%s %d\r\nno break at end");
    Save(*nb, dir.Path("a.not"));
    EXPECT_NE(ReadBytes(dir.Path("a.not"))
                  .find("Folder Text\r\n\x1b" "End Folder\r\n\x1b\x1b" "End Folder\r\nEnd Folder!\r\n%s %d\r\nno break at end\r\n"
                        "End Folder\r\n"),
              std::string::npos);
}

TEST(NotebookFileRoundTrip, VariedNotebookComesBackWhole)
{
    TempDir dir;
    auto nb = VariedNotebook();
    const std::string before = nb->Describe();
    Save(*nb, dir.Path("varied.not"));

    auto back = Open(dir.Path("varied.not"));
    EXPECT_EQ(back->Describe(), before);
    EXPECT_EQ(back->doc.GetSelFolder()->m_name, "Deeper");
    EXPECT_EQ(back->keys.Text(), "Main/Ideas=F4, " + std::string(1000, 'n') + "=F5, 100% sure %s %d %n=F4, Trash=F3");
    EXPECT_FALSE(back->doc.IsModified());

    // Saved again and opened again, nothing changes.
    Save(*back, dir.Path("again.not"));
    EXPECT_EQ(ReadBytes(dir.Path("again.not")), ReadBytes(dir.Path("varied.not")));
    EXPECT_EQ(Open(dir.Path("again.not"))->Describe(), before);
    EXPECT_EQ(dir.Listing(), "again.not,varied.not");
}

TEST(NotebookFileRoundTrip, RenamedMainSurvivesAsAThirdTopLevelFolder)
{
    TempDir dir;
    auto nb = Notebook::New();
    nb->Select("Main");
    nb->doc.AddFolder(false, "Ideas", "renamed\r\n", true, {}, {});
    nb->doc.AddFolder(false, "Sub", "sub\r\n", true, {}, {});
    Folder* pIdeas = nb->doc.FindFolderByName("Ideas");
    pIdeas->m_name = "Main";
    nb->tree.SetItemText(pIdeas->m_hItem, "Main");
    Save(*nb, dir.Path("first.not"));

    const std::string expected = "date=1 time=0 text=1 prompt=1 selected=Sub\n"
                                 "Main<------ New Note 12/06/97 ------\r\n>\n"
                                 "Main<renamed\r\n>[Sub<sub\r\n>;]\n"
                                 "Trash{F3 Move}<>\n";
    auto once = Open(dir.Path("first.not"));
    EXPECT_EQ(once->Describe(), expected);
    Save(*once, dir.Path("second.not"));
    EXPECT_EQ(Open(dir.Path("second.not"))->Describe(), expected);
}

// A folder's notes: the editor's for the selected folder, else its own.
std::string StoredText(const Notebook& nb, const Folder* pFolder)
{
    return nb.HeadlessNotebookOf::TextOf(pFolder);
}

// What a user can see or save of a notebook, in order: the tree with its selection and open
// folders, the folders in the file's order with keys and texts, the keys strip and the caret.
std::string OrderedState(Notebook& nb)
{
    std::string out = nb.tree.Dump(true) + "\n";
    WalkFolders(nb.doc.GetRootFolder(), [&](const Folder* p) {
        out += p->m_name + (p->HasKey() ? "{" + p->GetKey()->key + "}" : "") + (nb.tree.IsExpanded(p->m_hItem) ? "+" : "")
               + "<" + StoredText(nb, p) + ">\n";
    });
    long start = 0;
    long end = 0;
    nb.edit.GetSel(start, end);
    return out + nb.FolderList() + "\n" + nb.keys.Text() + "\ncaret " + std::to_string(start) + "-" + std::to_string(end);
}

TEST(NotebookFileOpen, EndsInTheStateThatAddingEachRecordInTurnGives)
{
    // Nesting, keys, names that differ only in case or not at all, a nested folder named Main,
    // and folders whose stored text is empty: those get a new note's header, the Trash none.
    TempDir dir;
    auto nb = Notebook::New();
    CQuillboxDoc& doc = nb->doc;
    doc.SetNoteHeaderPrefs(1, 1, 1);
    nb->Select("Main");
    doc.AddFolder(false, "b", "b text\r\n", true, "F4", "Move");
    doc.AddFolder(false, "Same", "inner\r\n", true, {}, {});
    doc.AddFolder(false, "Empty", {}, true, {}, {});
    doc.AddFolder(false, "Main", "nested main\r\n", true, {}, {});
    nb->Select("Main");
    doc.AddFolder(false, "Same", "first\r\n", true, {}, {});
    nb->Select("Main");
    doc.AddFolder(false, "A", {}, true, "F5", "Copy");
    nb->Select("Main");
    doc.AddFolder(false, "a", "lower\r\n", true, {}, {});
    nb->Select("b");
    for (Folder* pFolder : doc.GetFolders()) {
        if (pFolder->m_name == "Empty" || pFolder->m_name == "A")
            pFolder->m_text.clear();
    }
    Save(*nb, dir.Path("mixed.not"));

    // The same records, in the file's order, each added under its parent selected again.
    auto stepwise = std::make_unique<Notebook>();
    stepwise->doc.SetNoteHeaderPrefs(1, 1, 1);
    std::unordered_map<const Folder*, Folder*> copyOf;
    WalkFolders(doc.GetRootFolder(), [&](const Folder* p) {
        if (p->m_pParent)
            stepwise->tree.SelectItem(copyOf.at(p->m_pParent)->m_hItem);
        const bool bTop = !p->m_pParent || p->m_name == "Main" || p->m_name == "Trash";
        stepwise->doc.AddFolder(bTop, p->m_name, StoredText(*nb, p), true, p->HasKey() ? p->GetKey()->key : "",
                                p->HasKey() ? p->GetKey()->function : "");
        copyOf[p] = stepwise->doc.GetFolders().back();
    });
    stepwise->tree.SelectItem(stepwise->doc.FindFolderByName("b")->m_hItem);
    stepwise->treeView.FocusEditor(true);
    stepwise->doc.UpdateKeySummary();

    auto opened = Open(dir.Path("mixed.not"));
    EXPECT_EQ(OrderedState(*opened), OrderedState(*stepwise));
    EXPECT_EQ(opened->TextOf("Empty"), "------ New Note 12/06/97 03:53PM ------\r\n");
}

TEST(NotebookFileRoundTrip, ANoteAddedToOneFolderChangesOnlyThatFoldersText)
{
    TempDir dir;
    Save(*VariedNotebook(), dir.Path("before.not"));
    auto nb = Open(dir.Path("before.not"));
    ASSERT_TRUE(nb->editView.AppendNote(nb->doc.GetFolders()[6], "added\r\n", false));
    Save(*nb, dir.Path("after.not"));
    const std::string before = ReadBytes(dir.Path("before.not"));
    const std::string after = ReadBytes(dir.Path("after.not"));
    // The new file is the old one with the note's lines put in at one place: the end of the
    // second Ideas folder's text.
    const size_t at = before.find("a second folder named Ideas\r\n") + 29;
    EXPECT_EQ(after, before.substr(0, at) + "------ New Note 03:53PM ------\r\nadded\r\n" + before.substr(at));
}

TEST(NotebookFileRoundTrip, SiblingsOfTheSameNameKeepTheirOrderThroughSaves)
{
    TempDir dir;
    auto nb = Notebook::New();
    for (const char* text : { "one", "two", "three" }) {
        nb->Select("Main");
        nb->doc.AddFolder(false, "Same", std::string(text) + "\r\n", true, {}, {});
        nb->Select("Main");
        nb->doc.AddFolder(false, std::string(1, text[0]), {}, true, {}, {});
    }
    auto order = [](Notebook& book) {
        std::string out;
        for (TreeItem item : book.tree.GetChildren(book.doc.FindFolderByName("Main")->m_hItem)) {
            const Folder* pFolder = book.doc.FindFolderByItem(item, book.doc.GetRootFolder());
            out += pFolder->m_name + (pFolder->m_name == "Same" ? "=" + StoredText(book, pFolder) : "") + " ";
        }
        return out;
    };
    EXPECT_EQ(order(*nb), "o Same=one\r\n Same=two\r\n Same=three\r\n t t ");
    Save(*nb, dir.Path("once.not"));
    auto once = Open(dir.Path("once.not"));
    EXPECT_EQ(order(*once), "o Same=one\r\n Same=two\r\n Same=three\r\n t t ");
    Save(*once, dir.Path("twice.not"));
    EXPECT_EQ(order(*Open(dir.Path("twice.not"))), "o Same=one\r\n Same=two\r\n Same=three\r\n t t ");
    EXPECT_EQ(ReadBytes(dir.Path("twice.not")), ReadBytes(dir.Path("once.not")));
}

TEST(NotebookFileOpen, DocumentedExampleOpensAsANewNotebook)
{
    for (const char* name : { "new-notebook.not", "lf-line-breaks.not" }) {
        SCOPED_TRACE(name);
        auto nb = Open(DataFile(name));
        EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
        EXPECT_EQ(nb->FolderList(), "Main,Trash");
        EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
        EXPECT_EQ(nb->keys.Text(), "Trash=F3");
        EXPECT_FALSE(nb->doc.IsModified());
        EXPECT_EQ(nb->doc.GetPathName(), DataFile(name));
    }
}

TEST(NotebookFileOpen, BareLineFeedFileIsSavedWithCrLf)
{
    TempDir dir;
    Save(*Open(DataFile("lf-line-breaks.not")), dir.Path("from-lf.not"));
    Save(*Open(DataFile("new-notebook.not")), dir.Path("from-crlf.not"));
    const std::string saved = ReadBytes(dir.Path("from-lf.not"));
    EXPECT_EQ(saved, ReadBytes(dir.Path("from-crlf.not")));
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), std::count(saved.begin(), saved.end(), '\r'));
}

// A folder's text stored in one run is saved again without being looked at line by line; one
// that held an escaped line or a bare line feed must be written out line by line again.
TEST(NotebookFileRoundTrip, UnselectedTextsAreSavedAsStoredOrWrittenOutAgain)
{
    const auto record = [](const std::string& name, const std::string& text) {
        return CrLf({ "Begin Folder", "Folder Name", name, "Assigned Key", "None", "Number of Children", "0", "Folder Text" })
            + text + "End Folder\r\n";
    };
    const std::string head = CrLf({ "Begin Selected Folder", "Main", "End Selected Folder", "", "Begin New Note Preferences",
                                    "Date", "1", "Time", "0", "Text", "1", "End New Note Preferences", "",
                                    "Begin Delete Folder Preferences", "Prompt", "1", "End Delete Folder Preferences", "",
                                    "Begin Folder Information" });
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "plain\r\nEvery line\r\n\r\n", "plain\r\nEvery line\r\n\r\n" },
        { "a\r\n\x1b" "End Folder\r\n", "a\r\n\x1b" "End Folder\r\n" },
        { "\x1b\x1b" "End Folder\r\nb\r\n", "\x1b\x1b" "End Folder\r\nb\r\n" },
        { "bare\nfeed\r\n", "bare\r\nfeed\r\n" },
        { "lone\rcr\r\n", "lone\rcr\r\n" },
    };
    for (const auto& [stored, saved] : cases) {
        TempDir dir;
        WriteBytes(dir.Path("in.not"), head + record("Main", "m\r\n") + record("Kept", stored) + record("Trash", "")
                                           + "End Folder Information\r\n");
        Save(*Open(dir.Path("in.not")), dir.Path("out.not"));
        EXPECT_NE(ReadBytes(dir.Path("out.not")).find(record("Kept", saved)), std::string::npos) << stored;
    }
}

TEST(NotebookFileOpen, EmptyFolderGetsAHeaderFromThePreferencesReadAndStaysUnmodified)
{
    TempDir dir;
    std::string file = WithCrLf(kDocumentedExample);
    file.replace(file.find("Time\r\n0"), 7, "Time\r\n1");
    file.erase(file.find("------ New Note 12/06/97 ------\r\n"), 33);
    WriteBytes(dir.Path("a.not"), file);
    auto nb = Open(dir.Path("a.not"));
    EXPECT_EQ(nb->TextOf("Main"), "------ New Note 12/06/97 03:53PM ------\r\n");
    EXPECT_EQ(nb->TextOf("Trash"), "");
    EXPECT_FALSE(nb->doc.IsModified());
}

TEST(NotebookFileOpen, SelectionIsRestoredByFirstNameElseTheLastFolderReadStays)
{
    TempDir dir;
    auto nb = Notebook::New();
    nb->Select("Main");
    nb->doc.AddFolder(false, "Twin", "older\r\n", true, {}, {});
    nb->Select("Main");
    nb->doc.AddFolder(false, "Twin", "newer\r\n", true, {}, {});
    Save(*nb, dir.Path("twins.not"));

    // The older Twin is written first, so it comes first in GetFolders() when read.
    auto twins = Open(dir.Path("twins.not"));
    EXPECT_EQ(twins->doc.GetSelFolder(), twins->doc.FindFolderByName("Twin"));
    EXPECT_EQ(twins->edit.GetText(), "older\r\n");

    std::string file = ReadBytes(dir.Path("twins.not"));
    file.replace(file.find("Twin"), 4, "Gone");
    WriteBytes(dir.Path("gone.not"), file);
    auto gone = Open(dir.Path("gone.not"));
    EXPECT_EQ(gone->doc.GetSelFolder(), gone->doc.GetFolders().back());
    EXPECT_EQ(gone->tree.Dump(true), "Main[Twin,Twin],Trash*");
}

TEST(NotebookFileOpen, ExtraLinesAnywhereAreSkipped)
{
    auto nb = Open(DataFile("extra-junk-lines.not"));
    EXPECT_EQ(nb->tree.Dump(true), "Main[Ideas*],Trash");
    EXPECT_EQ(nb->TextOf("Ideas"), "idea\r\n");
    EXPECT_EQ(nb->TextOf("Main"), "main note\r\n");
    EXPECT_EQ(nb->doc.HeaderHasDate(), 0);
    EXPECT_EQ(nb->doc.HeaderHasTime(), 1);
    EXPECT_EQ(nb->doc.HeaderHasText(), 1);
    EXPECT_EQ(nb->doc.GetPromptDelete(), 0);
}

TEST(NotebookFileOpen, EveryTopLevelRecordIsReadAndAnOrphanRecordGoesToTheTop)
{
    auto third = Open(DataFile("third-top-level-record.not"));
    EXPECT_EQ(third->tree.Dump(), "Main[Sub],Main,Trash");
    EXPECT_EQ(third->FolderList(), "Trash,Main,Sub,Main");

    auto loose = Open(DataFile("first-record-not-special.not"));
    EXPECT_EQ(loose->tree.Dump(true), "Loose[Inner],Main*,Trash");
}

TEST(NotebookFileRoundTrip, EveryTopLevelRecordStaysTopLevelThroughSaves)
{
    // Every save writes the records in the order they were read.
    TempDir dir;
    std::string path = DataFile("first-record-not-special.not");
    for (int save = 1; save <= 3; ++save) {
        auto nb = Open(path);
        EXPECT_EQ(nb->tree.Dump(true), "Loose[Inner],Main*,Trash") << "before save " << save;
        path = dir.Path("saved" + std::to_string(save) + ".not");
        ASSERT_TRUE(nb->doc.OnSaveDocument(path).ok);
    }
    EXPECT_EQ(Open(path)->tree.Dump(true), "Loose[Inner],Main*,Trash");
}

TEST(NotebookFileOpen, FileEndingEarlyKeepsWhatWasReadAndSaysWhere)
{
    using Kind = FileProblem::Kind;
    struct Case
    {
        const char* file;
        const char* tree;
        Kind kind;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        { "truncated-inside-record.not", "Main*[Ideas],Trash", Kind::EndsEarly, 39, "it ends early, at line 39" },
        { "truncated-before-end-of-folders.not", "Main*[Ideas,Work],Trash", Kind::EndsEarly, 61,
          "it ends early, at line 61, before \"End Folder Information\"" },
        { "truncated-in-preferences.not", "Main*,Trash", Kind::EndsEarly, 7, "it ends early, at line 7" },
        { "record-missing-child-count.not", "Main*[Ideas],Trash", Kind::Damaged, 37, "it is damaged at line 37" },
        { "child-count-beyond-records.not", "Main*[Ideas],Trash", Kind::Damaged, 40, "it is damaged at line 40" },
    };
    // Each under a name holding a byte that is not UTF-8, which the problem keeps as it is.
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir.Path("caf\xE9 "s + c.file);
        WriteBytes(path, ReadBytes(DataFile(c.file)));
        auto nb = std::make_unique<Notebook>();
        const ReadReport report = nb->doc.OnOpenDocument(path);
        EXPECT_EQ(report.status, Status::Incomplete);
        EXPECT_TRUE(report.Opened());
        EXPECT_EQ(report.problem.action, FileProblem::Action::Open);
        EXPECT_EQ(report.problem.kind, c.kind);
        EXPECT_EQ(report.problem.line, c.line);
        EXPECT_EQ(report.problem.path, path);
        EXPECT_EQ(DescribeProblem(report.problem),
                  "The notebook file \"" + path + "\" was incomplete: " + c.reason
                      + ". Quillbox opened what it could read as an untitled notebook; the file itself is left as it is.");
        EXPECT_EQ(nb->tree.Dump(true), c.tree);
        EXPECT_EQ(nb->keys.Text(), "Trash=F3");
        EXPECT_TRUE(nb->doc.IsModified()) << "closing asks before what was read is dropped";
        EXPECT_EQ(nb->doc.GetPathName(), "") << "Save asks for a new name";
    }
    EXPECT_EQ(Open(DataFile("truncated-inside-record.not"), Status::Incomplete)->TextOf("Ideas"), "idea one\r\nidea\r\n");

    const std::string missing = dir.Path("caf\xE9 missing.not");
    const ReadReport report = Notebook().doc.OnOpenDocument(missing);
    EXPECT_EQ(report.status, Status::CannotOpen);
    EXPECT_EQ(report.problem.kind, Kind::System);
    EXPECT_EQ(report.problem.error, ENOENT);
    EXPECT_EQ(report.problem.path, missing);
    EXPECT_EQ(DescribeProblem(report.problem), "Cannot open \"" + missing + "\": No such file or directory.");

    // A file whose very first read fails is unreadable, not "no notebook": this one is a regular
    // file the system refuses to read from its start.
    const ReadReport unreadable = Notebook().doc.OnOpenDocument("/proc/self/mem");
    EXPECT_EQ(unreadable.status, Status::CannotOpen);
    EXPECT_EQ(DescribeProblem(unreadable.problem), "Cannot open \"/proc/self/mem\": Input/output error.");
}

TEST(NotebookFileOpen, FileHoldingNoNotebookIsRefused)
{
    for (const char* name : { "no-notebook-prose.txt", "empty-file.not", "binary-garbage.not" }) {
        SCOPED_TRACE(name);
        Notebook nb;
        const ReadReport report = nb.doc.OnOpenDocument(DataFile(name));
        EXPECT_EQ(report.status, Status::NotANotebook);
        EXPECT_FALSE(report.Opened());
        EXPECT_EQ(DescribeProblem(report.problem), "\"" + DataFile(name) + "\" is not a Quillbox notebook.");
        EXPECT_TRUE(nb.doc.GetFolders().empty());
        EXPECT_EQ(nb.tree.GetCount(), 0u);
        EXPECT_EQ(nb.doc.GetPathName(), "");
    }
}

TEST(NotebookFileSaveFailure, MissingDirectoryKeepsTheNotebookModified)
{
    TempDir dir;
    auto nb = Notebook::New();
    nb->doc.SetModifiedFlag();
    const std::string path = dir.Path("missing/a.not");
    const SaveResult result = nb->doc.OnSaveDocument(path);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(DescribeProblem(result.problem), "Cannot save \"" + path + "\": No such file or directory.");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_EQ(nb->doc.GetPathName(), "");
}

TEST(NotebookFileSaveFailure, WriteFailingHalfwayLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    const std::string path = dir.Path("a.not");
    WriteBytes(path, "the old notebook\r\n");
    auto nb = Notebook::New();
    nb->edit.SetText(std::string(100000, 'x'));
    nb->doc.SetModifiedFlag();

    // A file size limit makes the write fail part way, even for root.
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const SaveResult result = nb->doc.OnSaveDocument(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(DescribeProblem(result.problem), "Cannot save \"" + path + "\": File too large.");
    EXPECT_EQ(ReadBytes(path), "the old notebook\r\n");
    EXPECT_EQ(dir.Listing(), "a.not");
    EXPECT_TRUE(nb->doc.IsModified());
}

TEST(NotebookFileSaveFailure, ReadOnlyDirectoryLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    TempDir dir;
    const std::string path = dir.Path("a.not");
    WriteBytes(path, "the old notebook\r\n");
    ::chmod(dir.Dir().c_str(), 0555);
    auto nb = Notebook::New();
    nb->doc.SetModifiedFlag();
    const SaveResult result = nb->doc.OnSaveDocument(path);
    EXPECT_EQ(DescribeProblem(result.problem), "Cannot save \"" + path + "\": Permission denied.");
    EXPECT_EQ(ReadBytes(path), "the old notebook\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
}

TEST(NotebookFileSave, KeepsPermissionsAndWritesThroughSymbolicLinks)
{
    TempDir dir;
    const std::string path = dir.Path("a.not");
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    ::symlink("a.not", dir.Path("link.not").c_str());
    auto nb = Notebook::New();
    Save(*nb, dir.Path("link.not"));
    Save(*nb, dir.Path("fresh.not"));

    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadBytes(path), WithCrLf(kDocumentedExample));
    ASSERT_EQ(::lstat(dir.Path("link.not").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));

    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_EQ(::stat(dir.Path("fresh.not").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
    EXPECT_EQ(dir.Listing(), "a.not,fresh.not,link.not");
}

// Deep and wide notebooks open, save and close without recursion. Sanitizer builds use fewer
// folders to stay quick; the shapes are the same.
#ifdef __SANITIZE_ADDRESS__
constexpr int kManyFolders = 20000;
#else
constexpr int kManyFolders = 100000;
#endif

TEST(NotebookFileLarge, DeepNestingRoundTrips)
{
    TempDir dir;
    {
        auto nb = Notebook::New();
        nb->Select("Main");
        for (int i = 0; i < kManyFolders; ++i)
            nb->doc.AddFolder(false, "Level", "note " + std::to_string(i) + "\r\n", true, {}, {});
        Save(*nb, dir.Path("deep.not"));
    }
    auto nb = Open(dir.Path("deep.not"));
    ASSERT_EQ(nb->doc.GetFolders().size(), kManyFolders + 2u);
    // The saved selection names every level; the first of them is selected.
    EXPECT_EQ(nb->doc.GetSelFolder(), nb->doc.GetFolders()[1]);
    EXPECT_EQ(nb->edit.GetText(), "note 0\r\n");
    const Folder* pDeepest = nb->doc.GetFolders()[kManyFolders];
    EXPECT_EQ(pDeepest->m_text, "note " + std::to_string(kManyFolders - 1) + "\r\n");
    int depth = 0;
    for (const Folder* p = pDeepest; p->m_pParent; p = p->m_pParent)
        ++depth;
    EXPECT_EQ(depth, kManyFolders);
    Save(*nb, dir.Path("again.not"));
    EXPECT_EQ(ReadBytes(dir.Path("again.not")).size(), ReadBytes(dir.Path("deep.not")).size());
}

TEST(NotebookFileLarge, ManySiblingsRoundTrip)
{
    TempDir dir;
    {
        auto nb = Notebook::New();
        for (int i = 0; i < kManyFolders; ++i) {
            nb->Select("Main");
            nb->doc.AddFolder(false, "Sibling", "note " + std::to_string(i) + "\r\n", true, {}, {});
        }
        Save(*nb, dir.Path("wide.not"));
    }
    auto nb = Open(dir.Path("wide.not"));
    EXPECT_EQ(CountFolders(*nb), kManyFolders + 2u);
    EXPECT_EQ(nb->tree.GetChildren(nb->doc.FindFolderByName("Main")->m_hItem).size(), size_t(kManyFolders));
    // The file lists the siblings as they were added; the saved selection names them all, and
    // the first is selected.
    EXPECT_EQ(nb->doc.GetSelFolder(), nb->doc.GetFolders()[1]);
    EXPECT_EQ(nb->edit.GetText(), "note 0\r\n");
    EXPECT_EQ(nb->doc.GetFolders()[kManyFolders]->m_text, "note " + std::to_string(kManyFolders - 1) + "\r\n");
    Save(*nb, dir.Path("again.not"));
    EXPECT_EQ(ReadBytes(dir.Path("again.not")).size(), ReadBytes(dir.Path("wide.not")).size());
}

// The window watches the file by the hash of the bytes it read or wrote, taken on the way; it must
// be the hash of the file as it lies on the disk, however the bytes were cut into pieces.
TEST(NotebookFileLarge, TheBytesReadOrWrittenAreHashedAsTheFileIs)
{
    TempDir dir;
    auto nb = Notebook::New();
    nb->doc.SetHashFile(true);
    for (int i = 0; i < 5; ++i) {
        nb->Select("Main");
        nb->doc.AddFolder(false, "Part " + std::to_string(i), std::string(300'001 + i, 'a' + i) + "\r\n", true, {}, {});
    }
    Save(*nb, dir.Path("big.not"));
    EXPECT_EQ(nb->doc.GetFileHash(), ReadFileIdentity(dir.Path("big.not"))->hash);
    auto opened = std::make_unique<Notebook>();
    opened->doc.SetHashFile(true);
    ASSERT_EQ(opened->doc.OnOpenDocument(dir.Path("big.not")).status, Status::Ok);
    EXPECT_EQ(opened->doc.GetFileHash(), ReadFileIdentity(dir.Path("big.not"))->hash);
    WriteBytes(dir.Path("other.not"), ReadBytes(dir.Path("big.not")) + "\r\n");
    EXPECT_NE(ReadFileIdentity(dir.Path("other.not"))->hash, opened->doc.GetFileHash());
}

// A notebook is read into blocks of a few megabytes that its texts then share: a text across a
// block's edge, a text larger than a block, and a text gathered because a line of it is stored
// escaped must each come back byte for byte once the reading is long done.
TEST(NotebookFileLarge, TextsSharingTheBlocksReadComeBackByteForByte)
{
    TempDir dir;
    std::vector<std::string> texts;
    {
        std::mt19937 random(3);
        auto nb = Notebook::New();
        for (size_t total = 0; total < (size_t(20) << 20); total += texts.back().size()) {
            const size_t i = texts.size();
            std::string& text = texts.emplace_back();
            for (size_t line = 0, lines = i == 30 ? 200000 : 1 + random() % 500; line < lines; ++line)
                text += std::to_string(i) + std::string(random() % 90, char('a' + i % 26)) + "\r\n";
            if (i % 5 == 0)
                text += "End Folder\r\n";
            nb->Select("Main");
            nb->doc.AddFolder(false, "Part " + std::to_string(i), text, true, {}, {});
        }
        Save(*nb, dir.Path("big.not"));
    }
    auto nb = Open(dir.Path("big.not"));
    for (size_t i = 0; i < texts.size(); ++i) {
        const Folder* pFolder = nb->doc.FindFolderByName("Part " + std::to_string(i));
        ASSERT_NE(pFolder, nullptr) << i;
        const std::string text = pFolder == nb->doc.GetSelFolder() ? nb->edit.GetText() : std::string(pFolder->m_text.View());
        ASSERT_EQ(text.size(), texts[i].size()) << "text " << i;
        EXPECT_TRUE(text == texts[i]) << "text " << i;
    }
}

// The tools read a notebook with no window behind it, the window through its document; both
// must hold the same notebook, damaged files and missing folders included. A merge's result
// opens in the window as the same notebook, unsaved.
TEST(NotebookFileOpen, TheWindowlessReadAndAMergedNotebookGiveWhatTheWindowOpens)
{
    const auto bytes = [](const NotebookSnapshot& snapshot) {
        std::string out;
        EXPECT_TRUE(WriteNotebook(snapshot, [&out](std::string_view chunk) {
            out += chunk;
            return true;
        }));
        return out;
    };
    const auto record = [](const std::string& name, int children, const std::string& text) {
        return CrLf({ "Begin Folder", "Folder Name", name, "Assigned Key", "None", "Number of Children",
                      std::to_string(children), "Folder Text" })
            + text + "End Folder\r\n";
    };
    const auto notebook = [](const std::string& selected, const std::string& records) {
        return CrLf({ "Begin Selected Folder", selected, "End Selected Folder", "Begin New Note Preferences", "Date", "0",
                      "Time", "1", "Text", "1", "End New Note Preferences", "Begin Folder Information" })
            + records + "End Folder Information\r\n";
    };
    TempDir dir;
    const std::pair<const char*, std::string> made[] = {
        { "no-main.not", notebook("Trash", record("Trash", 0, "") + record("A", 0, "a\r\n")) },
        { "no-trash.not", notebook("Main", record("Main", 1, "m\r\n") + record("A", 0, "")) },
        { "nothing-read.not", notebook("Gone", "") },
        { "nested-main-and-trash.not",
          notebook("B", record("Main", 2, "") + record("A", 1, "") + record("Trash", 0, "") + record("B", 0, "b\r\n")
                            + record("C", 0, "")) },
    };
    std::vector<std::string> paths;
    for (const auto& [name, text] : made) {
        paths.push_back(dir.Path(name));
        WriteBytes(paths.back(), text);
    }
    for (const auto& entry : std::filesystem::directory_iterator(QUILLBOX_TEST_DATA))
        paths.push_back(entry.path().string());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        Notebook window;
        const ReadReport opened = window.doc.OnOpenDocument(path);
        NotebookSnapshot read;
        const ReadReport windowless = ReadNotebookSnapshot(path, window.clock.Now(), read);
        EXPECT_EQ(windowless.status, opened.status);
        EXPECT_EQ(DescribeProblem(windowless.problem), DescribeProblem(opened.problem));
        if (!opened.Opened())
            continue;
        EXPECT_EQ(bytes(read), bytes(window.doc.TakeSnapshot()));

        Notebook merged;
        EXPECT_EQ(merged.doc.OpenSnapshot(read, "/notes/n.not").status, Status::Ok);
        EXPECT_EQ(bytes(merged.doc.TakeSnapshot()), bytes(read));
        EXPECT_EQ(merged.tree.Dump(true), window.tree.Dump(true));
        EXPECT_TRUE(merged.doc.IsModified());
        EXPECT_EQ(merged.doc.GetPathName(), "/notes/n.not");
    }
}
