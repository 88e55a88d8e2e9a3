#include <cstdio>
#include <cstdlib>
#include <string>

#include "HeadlessNotebook.h"
#include "NotebookGenerator.h"

// make-notebook SHAPE COUNT FILE: writes a notebook of COUNT generated folders.
int main(int argc, char** argv)
{
    const auto shape = argc == 4 ? ParseShape(argv[1]) : std::nullopt;
    const int count = argc == 4 ? std::atoi(argv[2]) : 0;
    if (!shape || count < 0) {
        std::fprintf(stderr, "Usage: make-notebook balanced|deep|wide COUNT FILE\n"
                             "Writes a notebook whose Main holds COUNT generated folders, each with three notes:\n"
                             "  balanced  up to ten children per folder, level by level\n"
                             "  deep      each folder inside the one before\n"
                             "  wide      all of them directly under Main\n");
        return 2;
    }
    HeadlessNotebook nb;
    GrowNotebook(nb, *shape, count);
    const SaveResult result = nb.doc.OnSaveDocument(argv[3]);
    if (!result.ok) {
        std::fprintf(stderr, "make-notebook: %s\n", result.message.c_str());
        return 1;
    }
    return 0;
}
