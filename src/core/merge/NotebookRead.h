#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "doc/CQuillboxDoc.h"
#include "model/NotebookSnapshot.h"

// Reads the notebook file at `path` as Quillbox opens it, into the records it would save
// (CQuillboxDoc::TakeSnapshot), with no window: for merging and comparing notebooks. Empty folder
// texts get the header of a new note made at `now`, so notebooks read together read alike. The
// records are set when the report says the file opened, in whole or in part; `pHash`, when
// given, then takes the hash of the bytes read (FileIdentity's).
ReadReport ReadNotebookSnapshot(const std::string& path, const std::tm& now, NotebookSnapshot& snapshot,
                                uint64_t* pHash = nullptr);
