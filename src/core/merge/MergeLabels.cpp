#include "merge/MergeLabels.h"

std::string TheirsVersionLine(const MergeLabels& labels)
{
    return "(both changed this note: this version is from " + labels.theirs + ", the one above from " + labels.ours + ")";
}
