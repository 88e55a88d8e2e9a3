#pragma once

#include <optional>
#include <string>
#include <vector>

#include "doc/KeyAssignment.h"
#include "storage/SharedText.h"
#include "storage/FileAccess.h"
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

    // Hands the notebook file's bytes to the sink a piece at a time; false when the sink refused.
    bool Write(const ChunkSink& sink) const;
};

// Appends the records to `out`. With a sink, `out` goes to it and is emptied whenever it has grown
// large; false when the sink refused.
bool AppendRecords(const std::vector<NotebookSnapshot::Record>& records, std::string& out, const ChunkSink* pSink);
