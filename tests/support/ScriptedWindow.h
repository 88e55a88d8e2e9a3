#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "disk/WorkKeeping.h"
#include "platform/Clock.h"
#include "platform/FocusScope.h"
#include "platform/KeysText.h"
#include "platform/MemoryTree.h"
#include "platform/TextBuffer.h"
#include "platform/Timer.h"
#include "support/ScriptedPrompts.h"
#include "window/NotebookWindow.h"

// A notebook window as the tests make it: the core's NotebookWindow over headless controls, one
// script for every question about the notebook and its file, a clock fixed at 6 December 1997,
// 3:53 in the afternoon, a timer the test fires, and a front that records what the window was
// told to show. The windows a merge makes are the shared part's.
struct ScriptedWindow : NotebookWindow::Front
{
    // What the windows of one test share: the prompts, the clock, the keeping of their work (in
    // `stateDir`) and the windows made for merges.
    struct Shared
    {
        explicit Shared(const std::string& stateDir)
            : keeping(RecoveryStore(stateDir + "/recovery"), HistoryStore(stateDir + "/history"))
        {
        }
        ScriptedPrompts prompts;
        FixedClock clock { 1997, 12, 6, 15, 53 };
        WorkKeeping keeping;
        std::vector<std::unique_ptr<ScriptedWindow>> made;
    };

    explicit ScriptedWindow(Shared& shared)
        : shared(shared)
        , window(*this, { shared.prompts, shared.prompts, shared.clock, timer, &shared.keeping, &keys }, edit, tree)
    {
    }

    CQuillboxDoc& Doc() { return window.GetDocument(); }
    // The selected folder's notes.
    std::string Text() { return edit.GetText(); }
    // The window a merge made to take this one's place, shown or not; null when none.
    ScriptedWindow* Made() const { return shared.made.empty() ? nullptr : shared.made.back().get(); }

    void ShowTitle() override { ++titles; }
    void ShowUnkeptWork(const std::optional<FileProblem>& problem) override { unkept = problem; }
    void ShowMergeEvents(const std::vector<MergeEvent>& events, const MergeLabels&, MergeKind) override { mergeEvents = events; }
    void BringToFront() override { ++broughtToFront; }
    void Saved(const std::string& path) override { saved.push_back(path); }
    NotebookWindow* MakeWindow() override
    {
        shared.made.push_back(std::make_unique<ScriptedWindow>(shared));
        return &shared.made.back()->window;
    }
    void ShowWindow(NotebookWindow& made) override { static_cast<ScriptedWindow&>(made.GetFront()).bShown = true; }
    void DropWindow(NotebookWindow& made) override
    {
        std::erase_if(shared.made, [&made](const auto& p) { return &p->window == &made; });
    }
    void CloseWindow() override { bClosed = true; }
    void Reopen(const std::string& path) override { reopened.push_back(path); }
    bool MoveToTrash(const std::string& path) override
    {
        trashed.push_back(path);
        return bTrashWorks;
    }

    Shared& shared;
    ManualTimer timer;
    KeysTextHolder keys;
    FocusScope focus;
    TextBuffer edit { &focus };
    MemoryTree tree { &focus };
    NotebookWindow window;

    // What the window was told.
    int titles = 0;
    int broughtToFront = 0;
    std::optional<FileProblem> unkept;
    std::vector<MergeEvent> mergeEvents;
    std::vector<std::string> saved;
    std::vector<std::string> reopened;
    std::vector<std::string> trashed;
    bool bTrashWorks = true;
    bool bShown = false;
    bool bClosed = false;
};
