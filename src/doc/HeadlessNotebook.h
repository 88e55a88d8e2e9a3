#pragma once

#include <algorithm>
#include <string>
#include <vector>

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

    // A folder's notes: the editor's text for the selected folder, else its stored text.
    std::string TextOf(const Folder* pFolder) const
    {
        return pFolder == doc.m_pSelFolder ? edit.GetText() : pFolder->m_text.Str();
    }

    // One folder with its subtree: name, key, text and children. Children are sorted, so two
    // notebooks whose sibling lists run in opposite orders describe alike.
    std::string DescribeFolder(const Folder* pFolder) const
    {
        std::vector<std::string> children;
        for (const Folder* pChild = pFolder->m_pFirstChild; pChild; pChild = pChild->m_pNext)
            children.push_back(DescribeFolder(pChild));
        std::sort(children.begin(), children.end());
        std::string out = pFolder->m_name;
        if (pFolder->HasKey())
            out += "{" + pFolder->GetKey()->key + " " + pFolder->GetKey()->function + "}";
        out += "<" + TextOf(pFolder) + ">";
        if (!children.empty()) {
            out += "[";
            for (const auto& child : children)
                out += child + ";";
            out += "]";
        }
        return out;
    }

    // The whole notebook: its preferences, the selected folder's name and its top-level folders
    // described as above.
    std::string Describe() const
    {
        std::vector<std::string> top;
        for (const Folder* pFolder = doc.m_pRootFolder; pFolder; pFolder = pFolder->m_pNext)
            top.push_back(DescribeFolder(pFolder));
        std::sort(top.begin(), top.end());
        std::string out = "date=" + std::to_string(doc.m_bDate) + " time=" + std::to_string(doc.m_bTime)
            + " text=" + std::to_string(doc.m_bText) + " prompt=" + std::to_string(doc.m_bPromptDelete)
            + " selected=" + (doc.m_pSelFolder ? doc.m_pSelFolder->m_name : std::string()) + "\n";
        for (const auto& folder : top)
            out += folder + "\n";
        return out;
    }
};
