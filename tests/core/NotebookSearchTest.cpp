#include "NoteMarks.h"
#include "NotebookFixture.h"
#include "doc/FolderPath.h"
#include "doc/NotebookSearch.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------";

// Main (selected, its notes only in the editor) holds "ideas" and "Beta/x"; "ideas" holds
// "café". Main's stored text is stale on purpose: a search must read the editor.
std::unique_ptr<Notebook> SearchNotebook()
{
    auto nb = Notebook::New();
    CQuillboxDoc& doc = nb->doc;
    nb->Select("Main");
    doc.AddFolder(false, "ideas", "above any note\r\n" + kHeader + "\r\nAn apple, an APPLE\r\n\r\n"
                                      + "------ second ------\r\nappletree app_le\r\n",
                  true, {}, {});
    doc.AddFolder(false, "café", "the café opens\r\ncafé\r\n", true, {}, {});
    nb->Select("Main");
    doc.AddFolder(false, "Beta/x", "pineapple\r", true, {}, {});
    nb->Select("Main");
    doc.AddFolder(false, "cp1252", "\xC4rger \x8A\xFF\r\n", true, {}, {});
    nb->Select("Main");
    doc.FindFolderByName("Main")->m_text = "stale apple\r\n";
    nb->edit.SetText(kHeader + "\r\nfresh apple\r\n");
    return nb;
}

// Every hit as "path|header|line|text" with each match in the text bracketed.
std::string Hits(const CQuillboxDoc& doc, const SearchQuery& query, const Folder* pStart = nullptr)
{
    const NotebookSearch search(query);
    if (const SearchProblem& problem = search.GetProblem())
        return problem.kind == SearchProblem::Kind::EmptyPattern ? "<empty pattern>" : "<malformed: " + problem.reason + ">";
    std::string out;
    search.Run(doc, pStart, [&out](const SearchHit& hit) {
        std::string text(hit.text);
        for (auto it = hit.spans.rbegin(); it != hit.spans.rend(); ++it)
            text.insert(it->first + it->second, "]").insert(it->first, "[");
        out += FolderPath(hit.pFolder) + "|" + std::string(hit.header) + "|" + std::to_string(hit.line) + "|" + text + "\n";
        return true;
    });
    return out;
}

} // namespace

TEST(NotebookSearch, FindsNamesAndLinesWithTheirNotesInTreeOrder)
{
    auto nb = SearchNotebook();
    struct Case
    {
        SearchQuery query;
        std::string hits;
    };
    const Case cases[] = {
        { { "apple", false },
          "Main|" + kHeader + "|1|fresh [apple]\n"
              "Main/Beta\\/x||0|pine[apple]\r\n"
              "Main/ideas|" + kHeader + "|2|An [apple], an [APPLE]\n"
              "Main/ideas|------ second ------|5|[apple]tree app_le\n" },
        { { "APPLE", true }, "Main/ideas|" + kHeader + "|2|An apple, an [APPLE]\n" },
        { { "apple", false, true }, "Main|" + kHeader + "|1|fresh [apple]\n"
                                     "Main/ideas|" + kHeader + "|2|An [apple], an [APPLE]\n" },
        // Non-ASCII bytes belong to words; a name matches as a whole.
        { { "caf", true, true }, "" },
        { { "café", true, true }, "Main/ideas/café||-1|[café]\n"
                                   "Main/ideas/café||0|the [café] opens\n"
                                   "Main/ideas/café||1|[café]\n" },
        { { "IDEA", false }, "Main/ideas||-1|[idea]s\n" },
        // A header line belongs to its own note; a match never runs over a line break.
        { { "New Note", true }, "Main|" + kHeader + "|0|------ [New Note] 12/06/97 ------\n"
                                 "Main/ideas|" + kHeader + "|1|------ [New Note] 12/06/97 ------\n" },
        { { "APPLE\r\n", false }, "" },
        { { "above", true }, "Main/ideas||0|[above] any note\n" },
        { { "^app[a-z]*", true, false, true }, "Main/ideas|------ second ------|5|[appletree] app_le\n" },
        { { "app_+le", true, true, true }, "Main/ideas|------ second ------|5|appletree [app_le]\n" },
        // Letters beyond ASCII in either case, as the notebook's encoding has them.
        { { "CAFÉ", false }, "Main/ideas/café||-1|[café]\n"
                              "Main/ideas/café||0|the [café] opens\n"
                              "Main/ideas/café||1|[café]\n" },
        { { "\xE4RGER \x9A\x9F", false, false, false, TextEncoding::Kind::Windows1252 },
          "Main/cp1252||0|[\xC4rger \x8A\xFF]\n" },
        { { "\xE4RGER", false }, "" },
        // A line ends before its CR LF; "." is one character of the notebook's encoding.
        { { "apple$", true, false, true }, "Main|" + kHeader + "|1|fresh [apple]\n" },
        { { "caf.$", true, false, true }, "Main/ideas/café||-1|[café]\n"
                                          "Main/ideas/café||1|[café]\n" },
        { { "", true }, "<empty pattern>" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.pattern);
        EXPECT_EQ(Hits(nb->doc, c.query), c.hits);
    }
    EXPECT_EQ(Hits(nb->doc, { "(", true, false, true }).rfind("<malformed: ", 0), 0u);
    EXPECT_EQ(Hits(nb->doc, { "apple", true }, FindFolderByPath(nb->doc, "Main/Beta\\/x")),
              "Main/Beta\\/x||0|pine[apple]\r\n");
}

TEST(NotebookSearch, GoingToAHitSelectsItsFolderAndTheMatch)
{
    auto nb = SearchNotebook();
    const Folder* pIdeas = FindFolderByPath(nb->doc, "Main/ideas");
    GoToSearchHit(nb->doc, pIdeas, 2, 13, 5);
    EXPECT_EQ(nb->doc.GetSelFolder(), pIdeas);
    EXPECT_EQ(nb->edit.GetSelText(), "APPLE");
    // The editor's text went back into Main when the selection left it.
    EXPECT_EQ(nb->TextOf("Main"), kHeader + "\r\nfresh apple\r\n");
    // A hit gone stale ends at the end of its line.
    GoToSearchHit(nb->doc, pIdeas, 2, 13, 50);
    EXPECT_EQ(nb->edit.GetSelText(), "APPLE");
}

TEST(FolderPath, EscapesSlashesAndBackslashesInNames)
{
    struct Case
    {
        std::string path;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        { "Main/Ideas", { "Main", "Ideas" } },
        { "Main/a\\/b", { "Main", "a/b" } },
        { "Main/\\/lead", { "Main", "/lead" } },
        { "Main/back\\\\/x", { "Main", "back\\", "x" } },
        { "Main/C:\\temp", { "Main", "C:\\temp" } },
        { "Main/end\\", { "Main", "end\\" } },
        { "Main//x y", { "Main", "", "x y" } },
        { "", { "" } },
    };
    auto nb = Notebook::New();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(SplitFolderPath(c.path), c.names);
        std::string joined;
        for (const std::string& name : c.names)
            joined += (&name == &c.names.front() ? "" : "/") + EscapeFolderName(name);
        EXPECT_EQ(SplitFolderPath(joined), c.names);
    }
    // A folder named by its own path, whatever its name holds.
    nb->Select("Main");
    for (const char* name : { "a/b", "/lead", "back\\", "C:\\temp", "two  spaces", "\xe9t\xe9" }) {
        SCOPED_TRACE(name);
        nb->Select("Main");
        nb->doc.AddFolder(false, name, "x\r\n", true, {}, {});
        const Folder* pFolder = nb->doc.GetSelFolder();
        EXPECT_EQ(FindFolderByPath(nb->doc, FolderPath(pFolder)), pFolder);
    }
    EXPECT_EQ(FindFolderByPath(nb->doc, "Main/a/b"), nullptr);
}
