#pragma once

#include "doc/CQuillboxDoc.h"
#include "merge/NotebookMerge.h"

// Selects the folder a merge event names and, for a note, selects the note's header line (the
// first with that header); false when the notebook has no such folder.
bool GoToMergeEvent(CQuillboxDoc& doc, const MergeEvent& event);
