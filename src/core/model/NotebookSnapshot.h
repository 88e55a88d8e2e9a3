#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/KeyAssignment.h"
#include "storage/SharedText.h"
#include "storage/TextEncoding.h"

// A notebook as a save would write it, taken at one moment. The folder texts are shared with the
// document, not copied, so taking it costs little however large the notebook is, and it may be
// written by another thread while the document goes on changing.
struct NotebookSnapshot
{
    // One folder record, in the file's order: a folder, its children, then its next siblings.
    struct Record
    {
        std::string name;
        std::optional<KeyAssignment> key;
        int children = 0;
        SharedText text;
    };

    std::string selectedName;
    int date = 1;
    int time = 0;
    int text = 1;
    int promptDelete = 1;
    std::vector<Record> records;
    // How the names and texts are to be read; the bytes written say it again.
    TextEncoding::Kind encoding = TextEncoding::Kind::Utf8;
};
