#pragma once

#include <string>

#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "platform/KeysText.h"
#include "platform/MemoryTree.h"
#include "platform/TextBuffer.h"
#include "tree/CQuillboxTreeView.h"

// A notebook with its two views over headless controls, put together as the program puts a
// notebook window together; the command-line tool, the benchmarks and the tests use it with the
// prompts and the clock they need.
template <typename PromptsType, typename ClockType>
struct HeadlessNotebookOf
{
    PromptsType prompts;
    ClockType clock;
    KeysTextHolder keys;
    FocusScope focus;
    TextBuffer edit { &focus };
    MemoryTree tree { &focus };
    CQuillboxDoc doc { Services { &prompts, &clock, &keys, nullptr } };
    CQuillboxEditView editView { &doc, edit };
    CQuillboxTreeView treeView { &doc, tree };

    template <typename... ClockArgs>
    explicit HeadlessNotebookOf(ClockArgs... clockArgs)
        : clock(clockArgs...)
    {
        editView.OnCreate();
        doc.BindViews(&editView, &treeView);
    }
    HeadlessNotebookOf(const HeadlessNotebookOf&) = delete;
    HeadlessNotebookOf& operator=(const HeadlessNotebookOf&) = delete;

    // A folder's notes as they stand.
    std::string TextOf(const Folder* pFolder) const { return std::string(doc.GetFolderText(pFolder).View()); }
};
