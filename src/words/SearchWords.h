#pragma once

#include <string>

#include "search/NotebookSearch.h"

// Why a search cannot run, in the user's language, for Find in Notebook and quillbox-cli grep
// alike. `pattern` is the pattern as the user gave it (UTF-8).
std::string DescribeSearchProblem(const SearchProblem& problem, const std::string& pattern);
