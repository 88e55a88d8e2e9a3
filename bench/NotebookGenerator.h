#pragma once

#include <optional>
#include <string>

#include "HeadlessNotebook.h"

// How the folders of a generated notebook hang together under Main.
enum class NotebookShape
{
    Balanced, // every folder has up to ten children, level by level
    Deep,     // each folder is the only child of the one before
    Wide,     // every folder is a child of Main
};

std::optional<NotebookShape> ParseShape(const std::string& name);

// Adds `count` folders of the given shape under Main of a new notebook, each with a few notes;
// the first seven carry the assignable keys. Leaves the last folder selected.
void GrowNotebook(HeadlessNotebook& nb, NotebookShape shape, int count);
