#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// One place where a notebook file departs from its format. Lines count from 1.
struct Damage
{
    int line = 0;
    std::string what;
    // The text before this line lost its "End Folder" line: a folder record, or the end of the
    // records, stands where the text would go on. MendNotebook puts the line back.
    bool bLostEndFolder = false;
};

// Reads a notebook file's bytes strictly, keyword by keyword and record by record, and lists
// every departure from the format in file order, going on after each one. The reader of the
// document is lenient and opens what it can; this is the account of what it had to overlook.
// Where a text lost its "End Folder" line, the check ends the text there and reads on from the
// record that follows, so the damage it lists after that is what the lost line does not explain.
// A record's head inside a text is taken for such a record unless the text ends it in an escaped
// "End Folder", or the numbers of children agree only when it is read as text.
std::vector<Damage> CheckNotebook(std::string_view data);

// The notebook's bytes with an "End Folder" line put back before each line where `damages`, in
// file order as CheckNotebook lists them, says one was lost; the document's reader then reads
// every folder under its own parent, as the check did.
std::string MendNotebook(std::string_view data, std::span<const Damage> damages);
