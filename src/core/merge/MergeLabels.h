#pragma once

#include <string>

#include "platform/Translatable.h"

// The names a merge gives its two sides in what it says: the command line's -L labels, or the
// window's own.
struct MergeLabels
{
    std::string ours = "ours";
    std::string theirs = "theirs";
};

// The sides of the window's merge of another program's change, and of a notebook's merge with
// a file-sync tool's conflict copy, in English as the merged notebook names them.
inline const MergeLabels kWindowMergeLabels { QB_TRANSLATE_NOOP("MergeWords", "this window"),
                                              QB_TRANSLATE_NOOP("MergeWords", "the file on disk") };
inline const MergeLabels kCopyMergeLabels { QB_TRANSLATE_NOOP("MergeWords", "the notebook"),
                                            QB_TRANSLATE_NOOP("MergeWords", "the conflict copy") };
// The line put second in theirs' version of a note both sides changed differently, so that the
// reader sees which version is which. It is no header line and no keyword of the file: it is
// notebook content, always English, so that every machine merges to the same bytes.
std::string TheirsVersionLine(const MergeLabels& labels);
