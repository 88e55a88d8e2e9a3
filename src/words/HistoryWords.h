#pragma once

#include <string>

#include "history/KeptHistory.h"

// How a version came to be kept, in the user's language: "read", "saved", "merged".
std::string DescribeHistoryKind(HistoryKind kind);
// What a version changed, in the user's language: its notes added and removed, its folders
// added, removed and changed by their paths, apart by "; ".
std::string DescribeVersionChange(const VersionChange& change);
