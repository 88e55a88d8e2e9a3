#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "window/HeadlessNotebook.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompts.h"

// A notebook as the tests make it: scripted prompts and a clock fixed at 6 December 1997, 3:53
// in the afternoon, so the note headers that reading adds to empty folders are the same on
// every read.
struct ScriptedNotebook : HeadlessNotebookOf<ScriptedPrompts, FixedClock>
{
    ScriptedNotebook()
        : HeadlessNotebookOf(1997, 12, 6, 15, 53)
    {
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
        out += "<" + HeadlessNotebookOf::TextOf(pFolder) + ">";
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
        for (const Folder* pFolder = doc.GetRootFolder(); pFolder; pFolder = pFolder->m_pNext)
            top.push_back(DescribeFolder(pFolder));
        std::sort(top.begin(), top.end());
        std::string out = "date=" + std::to_string(doc.HeaderHasDate()) + " time=" + std::to_string(doc.HeaderHasTime())
            + " text=" + std::to_string(doc.HeaderHasText()) + " prompt=" + std::to_string(doc.GetPromptDelete())
            + " selected=" + (doc.GetSelFolder() ? doc.GetSelFolder()->m_name : std::string()) + "\n";
        for (const auto& folder : top)
            out += folder + "\n";
        return out;
    }
};
