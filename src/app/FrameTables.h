#pragma once

#include <vector>


class QKeyEvent;

// One item of a menu table: a command id with its menu text from the command table, or one of
// the markers below.
struct MenuItem
{
    int id;
    bool bShowShortcut = true;
};

inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1; // the recent-file entries
inline constexpr int kWindowList = -2;  // the open notebook windows

struct MenuTable
{
    const char* title;
    std::vector<MenuItem> items;
};

// Menu 128, shown while no notebook is open.
const std::vector<MenuTable>& NoNotebookMenus();
// Menu 129, shown while a notebook window is active.
const std::vector<MenuTable>& NotebookMenus();

// The toolbar's buttons in order; kSeparator between groups.
struct ToolbarButton
{
    int id;
    const char* icon; // resource path of its 16x16 image
};
const std::vector<ToolbarButton>& ToolbarButtons();

// The command a key press runs by the accelerator table, which serves every window of the
// program; 0 when the key is no accelerator.
int FindAccelerator(const QKeyEvent& event);
