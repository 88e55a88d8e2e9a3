#pragma once

#include <optional>
#include <string>

#include "dialogs/Prompts.h"

// What an interrupted save of the notebook at `notebookPath` left beside it that is worth
// keeping: a complete copy of a notebook (its last line the records' end) that differs from the
// file. The save was cut while it replaced the file (a hard-linked notebook is rewritten in
// place, so the file may be cut short too) or just before, so the copy is the notebook as the
// user last saved it. An incomplete copy, cut before it could replace anything, or one the file
// already holds is removed here, unless a save is writing it now.
std::optional<std::string> FindSaveCopy(const std::string& notebookPath);

// The same, asked about: the copy's path when the user chooses to open it rather than the file.
std::optional<std::string> OfferSaveCopy(const std::string& notebookPath, Prompts& prompts);
