#include "words/SearchWords.h"

#include "words/Translate.h"

std::string DescribeSearchProblem(const SearchProblem& problem, const std::string& pattern)
{
    using Kind = SearchProblem::Kind;
    switch (problem.kind) {
    case Kind::None:
        break;
    case Kind::EmptyPattern:
        return Tr("SearchWords", "The pattern is empty.");
    case Kind::BackReference:
        return Fill(Tr("SearchWords", "The regular expression \"%1\" uses the back-reference %2, which the search does not "
                                      "take: it finds every match in one pass over the text."),
                    { pattern, problem.reason });
    case Kind::WordBoundary:
        return Fill(Tr("SearchWords", "The regular expression \"%1\" uses %2, which the search does not take; search for "
                                      "whole words instead."),
                    { pattern, problem.reason });
    case Kind::MalformedRegex:
        // The engine's reason is one of the texts of search/SearchReasons.h.
        return Fill(Tr("SearchWords", "The regular expression \"%1\" is malformed: %2."),
                    { pattern, Tr("SearchWords", problem.reason.c_str()) });
    }
    return {};
}
