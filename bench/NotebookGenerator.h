#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "CliNotebook.h"

// How the folders of a generated notebook hang together under Main.
enum class NotebookShape
{
    Balanced, // every folder has up to ten children, level by level
    Deep,     // each folder is the only child of the one before
    Wide,     // every folder is a child of Main
    BigFolder, // two folders under Main: "Big" with `count` notes filling the editor, and "Small"
    LongLine, // two folders under Main: "Big" one line of `count` bytes without a space, and "Small"
    LongWords, // as LongLine, the line's letters in words of seven
};

std::optional<NotebookShape> ParseShape(const std::string& name);

struct GrowOptions
{
    int notesPerFolder = 3;  // 0: each folder holds only the header of a new note
    bool bEveryKeyed = false; // every folder carries an assignable key, not only the first seven
    size_t mainBytes = 0;     // the size of Main's own text, when not 0
    bool bDescending = false; // folders numbered from `count` down, so siblings are saved in
                              // descending name order rather than ascending
};

// Adds `count` folders of the given shape under Main of a new notebook; the first seven carry
// the assignable keys. Leaves the last folder selected.
void GrowNotebook(HeadlessNotebook& nb, NotebookShape shape, int count, const GrowOptions& options = {});
