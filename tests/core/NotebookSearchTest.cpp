#include "NoteMarks.h"
#include "NotebookFixture.h"
#include "model/FolderPath.h"
#include "search/NotebookSearch.h"

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
    EXPECT_EQ(Hits(nb->doc, { "apple", true }, FindFolderByPath(nb->doc.GetFolderTree(), "Main/Beta\\/x")),
              "Main/Beta\\/x||0|pine[apple]\r\n");
}

namespace {

// Lines with non-ASCII letters and punctuation that Windows-1252 holds as well as UTF-8.
const char* const kWorldLines[] = {
    "«bonjour» le monde",
    "“quoted” text, ‘single’",
    "foo—bar…baz",
    "ÉTÉ à Paris",
    "Œuvre de Škoda à Žižka",
    "café crème; naïve",
    "x_y and x-y",
    "l'été s'achève",
    "Ÿvonne et ÿes",
    "aaa bbb ccc ddd eee fff xzz",
};

// Every match of a query in a folder as `grep -no` prints it, in UTF-8: "line:match ".
std::string GrepO(const CQuillboxDoc& doc, const Folder* pFolder, const SearchQuery& query)
{
    const NotebookSearch search(query);
    if (search.GetProblem())
        return "<problem>";
    std::string out;
    search.Run(doc, pFolder, [&](const SearchHit& hit) {
        for (const auto& [start, length] : hit.spans) {
            const std::string match(hit.text.substr(start, length));
            out += std::to_string(hit.line + 1) + ":"
                   + (query.encoding == TextEncoding::Kind::Utf8 ? match : TextEncoding::Cp1252ToUtf8(match)) + " ";
        }
        return true;
    });
    return out;
}

std::string InEncoding(TextEncoding::Kind encoding, const std::string& utf8)
{
    std::string bytes = utf8;
    if (encoding == TextEncoding::Kind::Windows1252) {
        EXPECT_TRUE(TextEncoding::Utf8ToCp1252(utf8, bytes)) << utf8;
    }
    return bytes;
}

} // namespace

// What GNU grep 3.8 prints with -no in the C.UTF-8 locale for the same lines, in a UTF-8
// notebook and in a Windows-1252 one alike.
TEST(NotebookSearch, FindsWhatGnuGrepFindsInEitherEncoding)
{
    struct Case
    {
        std::string options; // of -w, -i and -E
        std::string pattern;
        std::string matches;
    };
    const Case cases[] = {
        // Punctuation beyond ASCII bounds words.
        { "-w", "bonjour", "1:bonjour " },
        { "-w", "quoted", "2:quoted " },
        { "-w", "single", "2:single " },
        { "-w", "bar", "3:bar " },
        { "-wE", "b[a-z]+", "1:bonjour 3:bar 3:baz 10:bbb " },
        // Letters beyond ASCII belong to words.
        { "-w", "caf", "" },
        { "-w", "café", "6:café " },
        { "-w", "x", "7:x " },
        { "-wi", "l", "8:l " },
        { "-wE", "[[:alpha:]]+e", "1:le 1:monde 2:single 5:Œuvre 5:de 6:crème 6:naïve 8:achève 9:Ÿvonne 10:eee " },
        { "-E", "\\w+é", "6:café 8:été " },
        { "-E", "[^[:alnum:] ]+", "1:« 1:» 2:“ 2:” 2:, 2:‘ 2:’ 3:— 3:… 6:; 7:_ 7:- 8:' 8:' " },
        // Their capitals, Windows-1252's Œ, Š, Ž and Ÿ included.
        { "-i", "été", "4:ÉTÉ 8:été " },
        { "-iE", "été|œuvre", "4:ÉTÉ 5:Œuvre 8:été " },
        { "-iE", "škoda|žižka|ÿvonne", "5:Škoda 5:Žižka 9:Ÿvonne " },
        { "-iE", "[ž]i", "5:Ži " },
        { "-iwE", "ÿ[a-z]+", "9:Ÿvonne 9:ÿes " },
        { "-E", "[[:upper:]]{2,}", "4:ÉTÉ " },
        { "-E", "na.ve", "6:naïve " },
        { "-E", "(.*)(.*)zz$", "10:aaa bbb ccc ddd eee fff xzz " },
        { "-E", "([a-z]+ ){5}x", "10:bbb ccc ddd eee fff x " },
    };
    for (const auto encoding : { TextEncoding::Kind::Utf8, TextEncoding::Kind::Windows1252 }) {
        auto nb = Notebook::New();
        std::string text;
        for (const char* line : kWorldLines)
            text += InEncoding(encoding, line) + "\r\n";
        nb->doc.AddFolder(false, "0", text, true, {}, {});
        const Folder* pFolder = nb->doc.GetSelFolder();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.options + " " + c.pattern + (encoding == TextEncoding::Kind::Utf8 ? " in UTF-8" : " in Windows-1252"));
            const auto has = [&c](char option) { return c.options.find(option) != std::string::npos; };
            SearchQuery query { InEncoding(encoding, c.pattern), !has('i'), has('w'), has('E'), encoding };
            EXPECT_EQ(GrepO(nb->doc, pFolder, query), c.matches);
            if (query.bRegex)
                continue;
            // A literal found without the engine finds what the engine finds.
            std::string escaped;
            for (char ch : query.pattern)
                escaped += std::string(std::string_view(".[]()*+?{}|^$\\").find(ch) != std::string_view::npos, '\\') + ch;
            query.pattern = escaped;
            query.bRegex = true;
            EXPECT_EQ(GrepO(nb->doc, pFolder, query), c.matches);
        }
    }
}

// Patterns a backtracking engine takes exponential or polynomial time over finish, with what
// GNU grep -cE finds in the same lines, and patterns the engine cannot take are refused.
TEST(NotebookSearch, TakesAnyPatternInOnePass)
{
    std::string text;
    for (int i = 0; i < 50000; ++i) {
        for (int j = 0; j < 8; ++j)
            text += std::string(static_cast<size_t>(1 + (i + j) % 5), static_cast<char>('a' + (i * 7 + j * 3) % 26)) + (j < 7 ? " " : "");
        text += i % 97 == 0 ? " zz\r\n" : "\r\n";
    }
    auto nb = Notebook::New();
    nb->doc.AddFolder(false, "0", text, true, {}, {});
    struct Case
    {
        SearchQuery query;
        size_t lines;
    };
    const Case cases[] = {
        { { "(.*)(.*)zz$", true, false, true }, 2038 },
        { { "([a-z]+ ){5}x", true, false, true }, 5769 },
        { { "([a-z]+ ){5}x", true, true, true }, 1153 },
        { { "(a|aa)*b", false, true, true }, 3078 },
        { { "(x+x+)+y", true, false, true }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.pattern);
        const NotebookSearch search(c.query);
        EXPECT_EQ(search.Run(nb->doc, nb->doc.GetSelFolder(), [](const SearchHit&) { return true; }), c.lines);
    }

    struct Refused
    {
        std::string pattern;
        SearchProblem::Kind kind;
        std::string reason;
    };
    const Refused refused[] = {
        { "(a)\\1", SearchProblem::Kind::BackReference, "\\1" },
        { "\\<word", SearchProblem::Kind::WordBoundary, "\\<" },
        { "word\\b", SearchProblem::Kind::WordBoundary, "\\b" },
        { "(", SearchProblem::Kind::MalformedRegex, "Unmatched ( or \\(" },
        { "[[:letter:]]", SearchProblem::Kind::MalformedRegex, "Invalid character class name" },
        { "a{1001}", SearchProblem::Kind::MalformedRegex, "Invalid content of \\{\\} (counts run up to 1000, the smaller first)" },
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.pattern);
        const SearchProblem problem = NotebookSearch({ r.pattern, true, false, true }).GetProblem();
        EXPECT_EQ(problem.kind, r.kind);
        EXPECT_EQ(problem.reason, r.reason);
    }
}

// The strings every match holds are looked for before the engine: a line holding a match is
// never passed over, at a megabyte's end where the search takes the next, at a line's or the
// text's end, with the case of either encoding's letters, and among words. Counts within counts
// are taken whatever their product.
TEST(NotebookSearch, FindsEveryMatchOfTheStringsItLooksForFirst)
{
    constexpr size_t kFiller = 32768; // lines of 32 bytes: line kFiller is the first megabyte's last
    const std::string filler = "the quick brown fox jumps over";
    struct Line
    {
        size_t index;
        std::string utf8;
        std::string cp1252; // in UTF-8 too, or empty for the same
    };
    const std::string xs(2000, 'x');
    const Line special[] = {
        { 5, "Zebra and quokka, a word in xwordx", "" },
        { 6, "x12345676", "" },
        { kFiller, "the last line of a megabyte ends in xzz", "" },
        { kFiller + 1, "KELVIN, the first of the next one", "" },
        { kFiller + 2, "\u212Aelvin \u017Feven", "\u0160KODA \u017Ei\u017Eka" },
        { 40000, xs, "" },
        { 40001, xs.substr(1), "" },
        { 40002, "the very end is a wordzz", "" },
    };
    // Three hundred words found nowhere, then three found.
    std::string words;
    for (int i = 0; i < 300; ++i)
        words += "w" + std::to_string(i * 7919) + "q|";
    words += "QUOKKA|megabyte|WORDZZ";
    using Matches = std::vector<std::pair<size_t, std::string>>; // line and match
    struct Case
    {
        std::string options;
        std::string pattern;
        Matches utf8;
        Matches cp1252;
    };
    const Matches zz = { { kFiller, special[2].utf8 }, { 40002, special[7].utf8 } };
    const Matches fiveWords = { { kFiller, "of a megabyte ends in x" } };
    const Matches word = { { 5, "word" } };
    const Matches zebra = { { 5, "Zebra" }, { 5, "quokka" } };
    const Matches listed = { { 5, "quokka" }, { kFiller, "megabyte" }, { 40002, "wordzz" } };
    const Matches count = { { 40000, xs } };
    const Matches counts = { { 40000, xs.substr(0, 1501) }, { 40001, xs.substr(0, 1501) } };
    // The first match, and of those the longest, as RE2 finds them, whichever string is found first.
    const Matches overlapping = { { 6, "1234" }, { 6, "6" }, { 6, "6" } };
    std::string moreDigits = "23|1234|23456|6";
    for (int i = 0; i < 20; ++i)
        moreDigits += "|v" + std::to_string(i) + "q";
    const Case cases[] = {
        { "-E", "(.*)(.*)zz$", zz, zz },
        { "-E", "([a-z]+ ){5}x", fiveWords, fiveWords },
        { "-iE", "kelvin", { { kFiller + 1, "KELVIN" }, { kFiller + 2, "\u212Aelvin" } }, { { kFiller + 1, "KELVIN" } } },
        { "-i", "kelvin", { { kFiller + 1, "KELVIN" }, { kFiller + 2, "\u212Aelvin" } }, { { kFiller + 1, "KELVIN" } } },
        { "-i", "SEVEN", { { kFiller + 2, "\u017Feven" } }, {} },
        { "-i", "\u0161koda", {}, { { kFiller + 2, "\u0160KODA" } } },
        { "-iE", "\u017Di\u017Dk[a]", {}, { { kFiller + 2, "\u017Ei\u017Eka" } } },
        { "-w", "word", word, word },
        { "-wE", "wor[d]", word, word },
        { "-iE", "zebra|quokka", zebra, zebra },
        { "-E", "23|1234|23456|6", overlapping, overlapping },
        { "-E", moreDigits, overlapping, overlapping },
        { "-iwE", words, listed, listed },
        { "-E", "(x{10}){200}", count, count },
        // Found in the text, and at every line's CR, which no line holds.
        { "-E", "[^a-z ]+", { { 5, "Z" }, { 5, "," }, { 6, "12345676" }, { kFiller + 1, "KELVIN," }, { kFiller + 2, "\u212A" }, { kFiller + 2, "\u017F" } },
          { { 5, "Z" }, { 5, "," }, { 6, "12345676" }, { kFiller + 1, "KELVIN," }, { kFiller + 2, "\u0160KODA" }, { kFiller + 2, "\u017E" }, { kFiller + 2, "\u017E" } } },
        { "-E", "x(x{3}){500}", counts, counts },
    };
    for (const auto encoding : { TextEncoding::Kind::Utf8, TextEncoding::Kind::Windows1252 }) {
        const bool bUtf8 = encoding == TextEncoding::Kind::Utf8;
        std::vector<std::string> lines(40003, filler);
        for (const Line& line : special)
            lines[line.index] = bUtf8 || line.cp1252.empty() ? line.utf8 : line.cp1252;
        std::string text;
        for (const std::string& line : lines)
            text += InEncoding(encoding, line) + (&line == &lines.back() ? "" : "\r\n");
        auto nb = Notebook::New();
        nb->doc.AddFolder(false, "notes", text, true, {}, {});
        for (const Case& c : cases) {
            // A pattern with a character the encoding lacks finds nothing there.
            std::string pattern;
            if (!bUtf8 && !TextEncoding::Utf8ToCp1252(c.pattern, pattern))
                continue;
            SCOPED_TRACE(c.options + " " + c.pattern.substr(0, 40) + (bUtf8 ? " in UTF-8" : " in Windows-1252"));
            const auto has = [&c](char option) { return c.options.find(option) != std::string::npos; };
            const SearchQuery query { bUtf8 ? c.pattern : pattern, !has('i'), has('w'), has('E'), encoding };
            std::string expected;
            for (const auto& [line, match] : bUtf8 ? c.utf8 : c.cp1252)
                expected += std::to_string(line + 1) + ":" + match + " ";
            EXPECT_EQ(GrepO(nb->doc, nb->doc.GetSelFolder(), query), expected);
        }
    }
}

TEST(NotebookSearch, GoingToAHitSelectsItsFolderAndTheMatch)
{
    auto nb = SearchNotebook();
    const Folder* pIdeas = FindFolderByPath(nb->doc.GetFolderTree(), "Main/ideas");
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
        EXPECT_EQ(FindFolderByPath(nb->doc.GetFolderTree(), FolderPath(pFolder)), pFolder);
    }
    EXPECT_EQ(FindFolderByPath(nb->doc.GetFolderTree(), "Main/a/b"), nullptr);
}
