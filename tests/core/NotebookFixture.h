#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/ScriptedNotebook.h"

// A notebook with its two views over headless controls, scripted prompts and a fixed clock.
// Tests drive it through the calls the GUI makes.
struct Notebook : ScriptedNotebook
{
    // A new notebook as File New makes it.
    static std::unique_ptr<Notebook> New()
    {
        auto nb = std::make_unique<Notebook>();
        EXPECT_TRUE(nb->doc.OnNewDocument());
        return nb;
    }

    // Selects the first folder of GetFolders() with this name, as a click in the tree would.
    void Select(const std::string& name)
    {
        Folder* pFolder = doc.FindFolderByName(name);
        ASSERT_NE(pFolder, nullptr) << name;
        tree.SelectItem(pFolder->m_hItem);
    }

    // The stored text of a folder that is not on screen, or the editor's text for the
    // selected one.
    std::string TextOf(const std::string& name)
    {
        Folder* pFolder = doc.FindFolderByName(name);
        if (!pFolder)
            return "<no folder " + name + ">";
        return pFolder == doc.GetSelFolder() ? edit.GetText() : std::string(pFolder->m_text.View());
    }

    // The names of GetFolders() in order, joined by ",".
    std::string FolderList() const
    {
        std::string out;
        for (const Folder* pFolder : doc.GetFolders())
            out += (out.empty() ? "" : ",") + pFolder->m_name;
        return out;
    }
};

// Scripted prompts fail the running test with what went wrong.
inline const bool kScriptedPromptsFailTests = [] {
    ScriptedPrompts::SetReporter([](const std::string& what) { ADD_FAILURE() << "prompts: " << what; });
    return true;
}();

// Prompts go with their notebook, failing the test when one came unexpected or an expected one
// never came; this checks that at a point of a test's own choosing.
#define EXPECT_PROMPTS_DONE(nb) (nb).prompts.ReportUnfinished()
