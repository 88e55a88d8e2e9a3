#include "NotebookFileTestFiles.h"

namespace {

using Status = ReadReport::Status;

const char* const kFolderFilter = "Folder Files (*.fol)|*.fol|All Files (*.*)|*.*||";

// Main holds Zeta and, after it in the sibling list, Alpha (key F4); Alpha holds Beta and Gamma,
// Gamma holds Delta. Alpha is selected, with an edit in the editor not yet stored.
std::unique_ptr<Notebook> AlphaNotebook()
{
    auto nb = Notebook::New();
    CQuillboxDoc& doc = nb->doc;
    nb->Select("Main");
    doc.AddFolder(false, "Zeta", "zeta\r\n", true, {}, {});
    nb->Select("Main");
    doc.AddFolder(false, "Alpha", "alpha\r\n", true, "F4", "Copy");
    doc.AddFolder(false, "Beta", "beta\r\n", true, {}, {});
    nb->Select("Alpha");
    doc.AddFolder(false, "Gamma", "gamma\r\n", true, {}, {});
    doc.AddFolder(false, "Delta", "delta\r\n", true, {}, {});
    nb->Select("Alpha");
    nb->edit.SetSel(static_cast<long>(nb->edit.GetText().size()), -1);
    nb->edit.TypeChar('!');
    doc.SetModifiedFlag(false);
    return nb;
}

// One record of a folder file: no key, its child count and text lines.
std::vector<std::string> Record(const std::string& name, int children, const std::vector<std::string>& text)
{
    std::vector<std::string> lines { "Begin Folder", "Folder Name", name, "Assigned Key", "None",
                                     "Number of Children", std::to_string(children), "Folder Text" };
    lines.insert(lines.end(), text.begin(), text.end());
    lines.push_back("End Folder");
    return lines;
}

std::string FolderFile(const std::vector<std::vector<std::string>>& records)
{
    std::vector<std::string> lines { "Begin Folder Information" };
    for (const auto& record : records)
        lines.insert(lines.end(), record.begin(), record.end());
    lines.push_back("End Folder Information");
    return CrLf(lines);
}

// Selects the folder of GetFolders() with this name whose parent has the given name.
void SelectUnder(Notebook& nb, const std::string& name, const std::string& parent)
{
    for (Folder* pFolder : nb.doc.GetFolders()) {
        if (pFolder->m_name == name && pFolder->m_pParent && pFolder->m_pParent->m_name == parent) {
            nb.tree.SelectItem(pFolder->m_hItem);
            return;
        }
    }
    ADD_FAILURE() << "no " << name << " under " << parent;
}

} // namespace

TEST(FolderFileExport, WritesTheSelectedSubtreeWithoutKeysOrSiblings)
{
    TempDir dir;
    auto nb = AlphaNotebook();
    nb->prompts.ExpectSaveFile(dir.Path("alpha.fol"), [](const FileChooser& chooser) {
        EXPECT_EQ(chooser.filter, kFolderFilter);
        EXPECT_EQ(chooser.defaultExt, ".fol");
        EXPECT_TRUE(chooser.bPromptOverwrite);
    });
    nb->doc.OnExportFolder();
    EXPECT_EQ(ReadBytes(dir.Path("alpha.fol")), FolderFile({ Record("Alpha", 2, { "alpha", "!" }),
                                                             Record("Beta", 0, { "beta" }),
                                                             Record("Gamma", 1, { "gamma" }),
                                                             Record("Delta", 0, { "delta" }) }));
    EXPECT_FALSE(nb->doc.IsModified());
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha*[Beta,Gamma[Delta]],Zeta],Trash");
    EXPECT_EQ(nb->doc.FindFolderByName("Zeta")->m_pNext, nb->doc.FindFolderByName("Alpha"));
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderFileExport, FailureIsShownAndCancelDoesNothing)
{
    TempDir dir;
    auto nb = AlphaNotebook();
    const std::string path = dir.Path("missing/alpha.fol");
    nb->prompts.ExpectSaveFile(path);
    nb->prompts.ExpectMessage("Cannot export the folder to \"" + path + "\": No such file or directory.");
    nb->doc.OnExportFolder();
    nb->prompts.ExpectSaveFile(std::nullopt);
    nb->doc.OnExportFolder();
    EXPECT_EQ(dir.Listing(), "");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderFileImport, RoundTripAddsTheSubtreeUnderTheSelectionInTheSameOrder)
{
    TempDir dir;
    auto nb = AlphaNotebook();
    ASSERT_TRUE(nb->doc.ExportFolder(dir.Path("alpha.fol")).ok);
    nb->Select("Zeta");
    nb->prompts.ExpectOpenFile(dir.Path("alpha.fol"), [](const FileChooser& chooser) {
        EXPECT_EQ(chooser.filter, kFolderFilter);
        EXPECT_EQ(chooser.defaultExt, ".fol");
        EXPECT_FALSE(chooser.bPromptOverwrite);
    });
    nb->doc.OnImportFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta,Gamma[Delta]],Zeta[Alpha[Beta,Gamma[Delta*]]]],Trash");
    EXPECT_EQ(nb->keys.Text(), "Trash=F3, Alpha=F4");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);

    // The copy exports as the original did.
    SelectUnder(*nb, "Alpha", "Zeta");
    ASSERT_TRUE(nb->doc.ExportFolder(dir.Path("copy.fol")).ok);
    EXPECT_EQ(ReadBytes(dir.Path("copy.fol")), FolderFile({ Record("Alpha", 2, { "alpha", "!" }),
                                                            Record("Beta", 0, { "beta" }),
                                                            Record("Gamma", 1, { "gamma" }),
                                                            Record("Delta", 0, { "delta" }) }));
}

TEST(FolderFileImport, ExportedMainComesBackAsASecondTopLevelMain)
{
    TempDir dir;
    auto nb = AlphaNotebook();
    nb->Select("Main");
    ASSERT_TRUE(nb->doc.ExportFolder(dir.Path("main.fol")).ok);
    nb->Select("Zeta");
    EXPECT_EQ(nb->doc.ImportFolder(dir.Path("main.fol")).status, Status::Ok);
    const std::string main = "Main<------ New Note 12/06/97 ------\r\n>"
                             "[Alpha<alpha\r\n!\r\n>[Beta<beta\r\n>;Gamma<gamma\r\n>[Delta<delta\r\n>;];];Zeta<zeta\r\n>;]";
    const std::string keyedMain = "Main<------ New Note 12/06/97 ------\r\n>"
                                  "[Alpha{F4 Copy}<alpha\r\n!>[Beta<beta\r\n>;Gamma<gamma\r\n>[Delta<delta\r\n>;];];Zeta<zeta\r\n>;]";
    EXPECT_EQ(nb->Describe(), "date=1 time=0 text=1 prompt=1 selected=Delta\n" + main + "\n" + keyedMain + "\nTrash{F3 Move}<>\n");
}

TEST(FolderFileImport, LinesBeforeAndAfterTheRecordAreIgnored)
{
    auto nb = Notebook::New();
    EXPECT_EQ(nb->doc.ImportFolder(DataFile("folder-with-children.fol")).status, Status::Ok);
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Beta*,Gamma[Delta]]],Trash");
    EXPECT_EQ(nb->TextOf("Delta"), "delta\r\n");
}

TEST(FolderFileImport, RefusedUnderTrash)
{
    auto nb = Notebook::New();
    nb->Select("Trash");
    nb->prompts.ExpectMessage("You cannot import a folder as a child of the \"Trash\"\nfolder.  Please select a different folder.");
    nb->doc.OnImportFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main,Trash*");
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderFileImport, FileWithoutAFolderLeavesTheNotebookUnchanged)
{
    TempDir dir;
    WriteBytes(dir.Path("empty.fol"), "Begin Folder Information\r\nEnd Folder Information\r\n");
    struct Case
    {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        { DataFile("folder-without-begin-line.fol"), "\"" + DataFile("folder-without-begin-line.fol")
                                                          + "\" is not a folder file: it has no \"Begin Folder Information\" line." },
        { DataFile("no-notebook-prose.txt"),
          "\"" + DataFile("no-notebook-prose.txt") + "\" is not a folder file: it has no \"Begin Folder Information\" line." },
        { dir.Path("none.fol"), "Cannot open \"" + dir.Path("none.fol") + "\": No such file or directory." },
        { dir.Path("empty.fol"),
          "The folder file \"" + dir.Path("empty.fol") + "\" holds no folder: it is damaged at line 2. Nothing was imported." },
    };
    auto nb = Notebook::New();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        nb->prompts.ExpectOpenFile(c.path);
        nb->prompts.ExpectMessage(c.message);
        nb->doc.OnImportFolder();
        EXPECT_EQ(nb->tree.Dump(true), "Main*,Trash");
        EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
        EXPECT_FALSE(nb->doc.IsModified());
    }
    EXPECT_PROMPTS_DONE(*nb);
}

TEST(FolderFileImport, CutShortFileKeepsTheFoldersReadAndSaysSo)
{
    auto nb = Notebook::New();
    const std::string path = DataFile("folder-truncated-in-child.fol");
    nb->prompts.ExpectOpenFile(path);
    nb->prompts.ExpectMessage("The folder file \"" + path
                              + "\" was incomplete: it ends early, at line 29. The folders read before that point were imported.");
    nb->doc.OnImportFolder();
    EXPECT_EQ(nb->tree.Dump(true), "Main[Alpha[Gamma[Delta*]]],Trash");
    EXPECT_EQ(nb->edit.GetText(), "------ New Note 12/06/97 ------\r\n");
    EXPECT_TRUE(nb->doc.IsModified());
    EXPECT_PROMPTS_DONE(*nb);
}
