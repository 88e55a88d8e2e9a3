// The words of file problems and messages in the translator's language, with their subjects
// put in as they are.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "words/MessageWords.h"
#include "words/ProblemWords.h"
#include "words/Translate.h"

namespace {

// A catalogue of a few texts, by context and English.
std::string Catalogue(const char* context, const char* text)
{
    static const std::map<std::pair<std::string, std::string>, std::string> texts {
        { { "ProblemWords", "Cannot save \"%1\": %2." }, "„%1“ kann nicht gespeichert werden: %2." },
        { { "ProblemWords", "it ends early, at line %1" }, "sie endet vorzeitig, in Zeile %1" },
        { { "ProblemWords", "%1, before \"%2\"" }, "%1, vor „%2“" },
        { { "MessageWords", "Save changes to %1?" }, "Änderungen an %1 speichern?" },
        { { "MessageWords", "Untitled" }, "Unbenannt" },
    };
    const auto it = texts.find({ context, text });
    return it == texts.end() ? text : it->second;
}

FileProblem ReadOnlySave(const std::string& path)
{
    FileProblem problem;
    problem.action = FileProblem::Action::Save;
    problem.kind = FileProblem::Kind::ReadOnly;
    problem.path = path;
    return problem;
}

class TranslatedWords : public testing::Test
{
protected:
    void SetUp() override { SetTranslator(&Catalogue); }
    void TearDown() override { SetTranslator(nullptr); }
};

} // namespace

TEST(Fill, PutsInEachArgumentOnceWhateverItHolds)
{
    EXPECT_EQ(Fill("%1 and %2", { "%2", "%1" }), "%2 and %1");
    EXPECT_EQ(Fill("%2 before %1", { "a", "b" }), "b before a");
    EXPECT_EQ(Fill("100% sure, %3 missing", { "a" }), "100% sure, %3 missing");
}

TEST_F(TranslatedWords, FileProblemsAndMessagesSpeakTheTranslatorsLanguage)
{
    FileProblem problem = ReadOnlySave("/tmp/50%2 off.not");
    // An untranslated part stays English inside the translated sentence.
    EXPECT_EQ(DescribeProblem(problem), "„/tmp/50%2 off.not“ kann nicht gespeichert werden: it is read-only.");
    problem.kind = FileProblem::Kind::EndsEarly;
    problem.line = 7;
    problem.detail = "End Folder";
    EXPECT_EQ(DescribeReason(problem), "sie endet vorzeitig, in Zeile 7, vor „End Folder“");
    EXPECT_EQ(DescribeSaveChanges(""), "Änderungen an Unbenannt speichern?");
}

TEST(Words, WithoutATranslatorAreTheProgramsEnglish)
{
    EXPECT_EQ(DescribeProblem(ReadOnlySave("/tmp/a.not")), "Cannot save \"/tmp/a.not\": it is read-only.");
    EXPECT_EQ(DescribeSaveChanges(""), "Save changes to Untitled?");
}
