// Reads any bytes as the choices that generate a notebook and two sides' edits of it, then merges
// them and checks the merge's properties: merge(B, X, B) = X, merge(B, B, Y) = Y,
// merge(B, X, X) = X, and no note of X or Y lost unless the other side removed it unchanged.

#include "FuzzNotebook.h"
#include "support/NotebookSketch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each choice takes the next two bytes; past the end, every choice is the first.
    size_t at = 0;
    SketchEditor editor([&](uint32_t bound) {
        uint32_t value = 0;
        for (int i = 0; i < 2 && at < size; ++i)
            value = value << 8 | data[at++];
        return value % bound;
    });
    const SketchNotebook base = editor.Generate();
    SketchNotebook x = base;
    SketchNotebook y = base;
    editor.Edit(x, 1 + static_cast<int>(size % 7));
    editor.Edit(y, 1 + static_cast<int>(size / 7 % 7));
    const std::string failure = CheckMergeProperties(ToSnapshot(base), ToSnapshot(x), ToSnapshot(y));
    Expect(failure.empty(), "a merge property fails", failure);
    return 0;
}
