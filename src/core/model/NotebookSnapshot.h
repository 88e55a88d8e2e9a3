#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/KeyAssignment.h"
#include "storage/SharedText.h"
#include "storage/TextEncoding.h"

// What a notebook file holds before its folders: the selected folder and the preferences, and
// how its names and texts are to be read (the bytes written say it again).
struct NotebookHeader
{
    std::string selectedName;
    int date = 1;
    int time = 0;
    int text = 1;
    int promptDelete = 1;
    TextEncoding::Kind encoding = TextEncoding::Kind::Utf8;
};

// A notebook as a save would write it, taken at one moment. The folder texts are shared with the
// document, not copied, so taking it costs little however large the notebook is, and it may be
// written by another thread while the document goes on changing.
struct NotebookSnapshot : NotebookHeader
{
    // One folder record, in the file's order: a folder, its children, then its next siblings.
    struct Record
    {
        std::string name;
        std::optional<KeyAssignment> key;
        int children = 0;
        SharedText text;
    };

    std::vector<Record> records;
};
