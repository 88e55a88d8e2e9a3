#pragma once

#include <string>

#include "merge/NotebookDiff.h"
#include "merge/MergeLabels.h"
#include "merge/NotebookMerge.h"

// The window's labels in the user's language, for what the window shows of a merge.
MergeLabels ShownLabels(const MergeLabels& labels);

// What happened, in a few words ("kept both versions: ..."), in the user's language, without
// the folder's path or the note's header. The event's detail (a folder name, a key, a
// preference) and the labels must be UTF-8.
std::string DescribeMergeEvent(const MergeEvent& event, const MergeLabels& labels);
// What a difference is ("folder added", "note changed" ...): part of quillbox-cli diff's output,
// never translated.
std::string DescribeChangeKind(NotebookChange::Kind kind);
