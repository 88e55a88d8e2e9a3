#pragma once

#include <string>

#include "doc/NotebookDiff.h"
#include "doc/NotebookMerge.h"

// The names a merge gives its two sides in what it says: the command line's -L labels, or the
// window's own.
struct MergeLabels
{
    std::string ours = "ours";
    std::string theirs = "theirs";
};

// The sides of the window's merge of another program's change, and of a notebook's merge with
// a file-sync tool's conflict copy.
inline const MergeLabels kWindowMergeLabels { "this window", "the file on disk" };
inline const MergeLabels kCopyMergeLabels { "the notebook", "the conflict copy" };

// The line put second in theirs' version of a note both sides changed differently, so that the
// reader sees which version is which. It is no header line and no keyword of the file.
std::string TheirsVersionLine(const MergeLabels& labels);
// What happened, in a few words ("kept both versions: ..."), without the folder's path or the
// note's header.
std::string DescribeMergeEvent(const MergeEvent& event, const MergeLabels& labels);
// What a difference is ("folder added", "note changed" ...).
std::string DescribeChangeKind(NotebookChange::Kind kind);
