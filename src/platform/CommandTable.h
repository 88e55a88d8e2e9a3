#pragma once

#include <string>
#include <vector>

// What the user sees of a command: its menu text (with its '&' mnemonic, without the shortcut),
// the shortcut text shown after a tab, the status-bar prompt and the tooltip.
struct CommandInfo
{
    int id;
    const char* menuText;
    const char* shortcut; // "" when the menu shows none
    const char* prompt;
    const char* tooltip;
};

// The entry for a command id, or null for an id the program does not know.
const CommandInfo* FindCommand(int id);

// A menu's items in order; 0 stands for a separator.
const std::vector<int>& FolderContextMenuItems(); // pop-up menu 135
const std::vector<int>& NoteContextMenuItems();   // pop-up menu 151
