#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CliNotebook.h"
#include "NotebookGenerator.h"
#include "words/ProblemWords.h"

namespace {

const char* const kUsage = R"(Usage: make-notebook [OPTIONS] SHAPE COUNT FILE

Writes a notebook whose Main holds COUNT generated folders. SHAPE is one of:
  balanced   up to ten children per folder, level by level
  deep       each folder inside the one before
  wide       all of them directly under Main
  bigfolder  two folders, "Big" with COUNT notes that fill the editor, and "Small"
  longline   two folders, "Big" one line of COUNT bytes without a space, and "Small"
  longwords  as longline, the line's letters in words of seven
Options:
  --notes N      notes per folder (default 3; 0 leaves only a new note's header)
  --every-key    every folder carries an assignable key, not only the first seven
  --main-mb N    Main's own text of N megabytes
  --descending   number the folders from COUNT down: siblings are saved in descending
                 name order (otherwise ascending)
)";

} // namespace

int main(int argc, char** argv)
{
    GrowOptions options;
    int arg = 1;
    for (; arg < argc && std::strncmp(argv[arg], "--", 2) == 0; ++arg) {
        const std::string option = argv[arg];
        if (option == "--every-key")
            options.bEveryKeyed = true;
        else if (option == "--descending")
            options.bDescending = true;
        else if (option == "--notes" && arg + 1 < argc)
            options.notesPerFolder = std::atoi(argv[++arg]);
        else if (option == "--main-mb" && arg + 1 < argc)
            options.mainBytes = static_cast<size_t>(std::atof(argv[++arg]) * 1e6);
        else
            break;
    }
    const auto shape = argc - arg == 3 ? ParseShape(argv[arg]) : std::nullopt;
    const int count = shape ? std::atoi(argv[arg + 1]) : 0;
    if (!shape || count < 0 || options.notesPerFolder < 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    HeadlessNotebook nb;
    GrowNotebook(nb, *shape, count, options);
    const SaveResult result = nb.doc.OnSaveDocument(argv[arg + 2]);
    if (!result.ok) {
        std::fprintf(stderr, "make-notebook: %s\n", DescribeProblem(result.problem).c_str());
        return 1;
    }
    return 0;
}
