#pragma once

#include <QString>

#include "storage/FileProblem.h"

// The window's words for what went wrong with a file. Paths are shown as the file system names
// them (QFile::decodeName), never through the encoding of the notebook the message comes over.
QString ProblemText(const FileProblem& problem);
