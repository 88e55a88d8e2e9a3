#pragma once

#include "platform/Translatable.h"

// What can be wrong with a regular expression, in the words GNU grep uses: the reason a
// malformed pattern's SearchProblem gives, in English, which the front ends translate where they
// show it.
inline constexpr const char* kUnmatchedParen = QB_TRANSLATE_NOOP("SearchWords", "Unmatched ( or \\(");
inline constexpr const char* kUnmatchedBracket = QB_TRANSLATE_NOOP("SearchWords", "Unmatched [, [^, [:, [., or [=");
inline constexpr const char* kInvalidRangeEnd = QB_TRANSLATE_NOOP("SearchWords", "Invalid range end");
inline constexpr const char* kInvalidClassName = QB_TRANSLATE_NOOP("SearchWords", "Invalid character class name");
inline constexpr const char* kInvalidCollation = QB_TRANSLATE_NOOP("SearchWords", "Invalid collation character");
inline constexpr const char* kInvalidCount
    = QB_TRANSLATE_NOOP("SearchWords", "Invalid content of \\{\\} (counts run up to 1000, the smaller first)");
inline constexpr const char* kInvalidPreceding = QB_TRANSLATE_NOOP("SearchWords", "Invalid preceding regular expression");
inline constexpr const char* kTrailingBackslash = QB_TRANSLATE_NOOP("SearchWords", "Trailing backslash");
inline constexpr const char* kInvalidUtf8 = QB_TRANSLATE_NOOP("SearchWords", "Invalid UTF-8");
inline constexpr const char* kTooBig = QB_TRANSLATE_NOOP("SearchWords", "Regular expression too big");
inline constexpr const char* kInvalidRegex = QB_TRANSLATE_NOOP("SearchWords", "Invalid regular expression");
