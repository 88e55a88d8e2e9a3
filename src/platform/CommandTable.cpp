#include "platform/CommandTable.h"

#include <algorithm>
#include <iterator>

#include "platform/CommandIds.h"

namespace {

const CommandInfo kCommands[] = {
    { cmd::FileNew, "&New", "Ctrl+N", "Create a new notebook", "New" },
    { cmd::FileOpen, "&Open...", "Ctrl+O", "Open an existing notebook", "Open" },
    { cmd::FileClose, "&Close", "Ctrl+F4", "Close the active notebook", "Close" },
    { cmd::FileSave, "&Save", "Ctrl+S", "Save the active notebook", "Save" },
    { cmd::FileSaveAs, "Save &As...", "", "Save the active notebook with a new name", "Save As" },
    { cmd::EmptyTrash, "Empty the Trash", "Ctrl+T", "Delete all of the notes in the Trash folder", "Empty Trash" },
    { cmd::PrintFolder, "&Print Folder", "Ctrl+P", "Print the active folder", "Print Folder" },
    { cmd::PrintSetup, "P&rint Setup...", "", "Change the printer and printing options", "Print Setup" },
    { cmd::Exit, "E&xit", "Alt+F4", "Quit the application; prompts to save notebooks", "Exit" },
    { cmd::EditUndo, "&Undo", "Ctrl+Z", "Undo the last action", "Undo" },
    { cmd::EditCut, "Cu&t", "Ctrl+X", "Cut the selection and put it on the Clipboard", "Cut" },
    { cmd::EditCopy, "&Copy", "Ctrl+C", "Copy the selection and put it on the Clipboard", "Copy" },
    { cmd::EditPaste, "&Paste", "Ctrl+V", "Insert Clipboard contents", "Paste" },
    { cmd::EditFind, "&Find...", "Ctrl+F", "Find the specified text", "Find" },
    { cmd::FindInNotebook, "Find in &Notebook...", "Ctrl+Shift+F", "Find text in the names and notes of every folder", "Find in Notebook" },
    { cmd::NewNote, "&New Note", "Shift+Return", "Start a new note in the current folder", "New Note" },
    { cmd::DeleteNote, "&Delete Note...", "F3", "Delete the note at the cursor", "Delete Note" },
    { cmd::MoveCopyNote, "&Move/Copy Note...", "F2", "Move/Copy the note at the cursor to a folder", "Move/Copy Note" },
    { cmd::NewFolder, "&New Folder...", "Ctrl+W", "Create a new folder off of the currently selected folder", "New Folder" },
    { cmd::DeleteFolder, "&Delete Folder", "Ctrl+D", "Delete the currently selected folder", "Delete Folder" },
    { cmd::RenameFolder, "R&ename Folder...", "Ctrl+R", "Rename the currently selected folder", "Rename Folder" },
    { cmd::ExportFolder, "&Export Folder...", "Ctrl+E", "Export the currently selected folder to a file", "Export Folder" },
    { cmd::ImportFolder, "&Import Folder...", "Ctrl+I", "Import a folder from a file", "Import Folder" },
    { cmd::CutFolder, "C&ut Folder", "Ctrl+J", "Cut the folder and put it on the Clipboard", "Cut Folder" },
    { cmd::CopyFolder, "C&opy Folder", "Ctrl+K", "Copy the folder and put it on the Clipboard", "Copy Folder" },
    { cmd::PasteFolder, "&Paste Folder", "Ctrl+L", "Insert the folder from the clipboard as a child of the current folder", "Paste Folder" },
    { cmd::AssignKeys, "&Move/Copy Note...", "", "Preferences related to sending notes to folders", "Send Note Preferences" },
    { cmd::NoteHeaderPrefs, "&Note Header...", "", "Preferences related to creating new notes", "New Note Preferences" },
    { cmd::DeleteFolderPrefs, "&DeleteFolder...", "", "Preferences related to deleting a folder", "Delete Folder Preferences" },
    { cmd::ViewToolbar, "&Toolbar", "", "Show or hide the toolbar", "Toggle ToolBar" },
    { cmd::ViewStatusBar, "&Status Bar", "", "Show or hide the status bar", "Toggle StatusBar" },
    { cmd::ToggleKeysBar, "&Assigned Keys Bar", "", "Show or hide the assigned keys bar", "Toggle Assigned Keys Bar" },
    { cmd::ToggleView, "Toggle &View", "F6", "Switch between the notes and the folders", "Toggle View" },
    { cmd::WindowCascade, "&Cascade", "", "Arrange windows so they overlap", "Cascade Windows" },
    { cmd::WindowTile, "&Tile", "", "Arrange windows as non-overlapping tiles", "Tile Windows" },
    { cmd::HelpTopics, "&Help Topics", "", "List Help topics", "Help Topics" },
    { cmd::Tutorial, "&Tutorial", "", "Run the Quillbox tutorial", "Tutorial" },
    { cmd::About, "&About Quillbox...", "", "Display program information, version number and copyright", "About" },
    { cmd::ContextHelp, "", "Shift+F1", "Display help for clicked on buttons, menus and windows", "Help" },
    { cmd::Help, "", "F1", "Display help for current task or command", "Help" },
};

} // namespace

const CommandInfo* FindCommand(int id)
{
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands), [id](const CommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

const std::vector<int>& FolderContextMenuItems()
{
    static const std::vector<int> items { cmd::NewFolder, cmd::DeleteFolder, cmd::RenameFolder, cmd::ExportFolder,
                                          cmd::ImportFolder, 0, cmd::CutFolder, cmd::CopyFolder, cmd::PasteFolder };
    return items;
}

const std::vector<int>& NoteContextMenuItems()
{
    static const std::vector<int> items { cmd::NewNote, cmd::DeleteNote, cmd::MoveCopyNote };
    return items;
}
