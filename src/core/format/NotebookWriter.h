#pragma once

#include <string>
#include <vector>

#include "model/NotebookSnapshot.h"
#include "storage/FileAccess.h"

// Hands the notebook file's bytes to the sink a piece at a time; false when the sink refused.
bool WriteNotebook(const NotebookSnapshot& notebook, const ChunkSink& sink);

// Appends the records to `out`. With a sink, `out` goes to it and is emptied whenever it has grown
// large; false when the sink refused.
bool AppendRecords(const std::vector<NotebookSnapshot::Record>& records, std::string& out, const ChunkSink* pSink);
