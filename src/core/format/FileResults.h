#pragma once

#include "storage/FileProblem.h"

// How reading a notebook or folder file went; the problem names the file.
struct [[nodiscard]] ReadReport
{
    enum class Status
    {
        Ok,
        Incomplete,   // the file ended early: what was read is kept
        NotANotebook, // nothing of the format was found: nothing is opened
        CannotOpen,   // the file could not be read at all
    };
    Status status = Status::Ok;
    FileProblem problem;

    bool Opened() const { return status == Status::Ok || status == Status::Incomplete; }
};

// How writing a notebook or folder file went; on failure the old file is untouched.
struct [[nodiscard]] SaveResult
{
    bool ok = true;
    FileProblem problem;
    // The target is a read-only file and nothing was written; saving again with the user's word
    // replaces it.
    bool bReadOnly = false;
};
