#include "platform/CommandTable.h"

#include <algorithm>
#include <iterator>

#include "platform/CommandIds.h"
#include "platform/Translatable.h"

namespace {

const CommandInfo kCommands[] = {
    { cmd::FileNew, QB_TRANSLATE_NOOP("Command", "&New"), "Ctrl+N", QB_TRANSLATE_NOOP("Command", "Create a new notebook"), QB_TRANSLATE_NOOP("Command", "New") },
    { cmd::FileOpen, QB_TRANSLATE_NOOP("Command", "&Open..."), "Ctrl+O", QB_TRANSLATE_NOOP("Command", "Open an existing notebook"), QB_TRANSLATE_NOOP("Command", "Open") },
    { cmd::FileClose, QB_TRANSLATE_NOOP("Command", "&Close"), "Ctrl+F4", QB_TRANSLATE_NOOP("Command", "Close the active notebook"), QB_TRANSLATE_NOOP("Command", "Close") },
    { cmd::FileSave, QB_TRANSLATE_NOOP("Command", "&Save"), "Ctrl+S", QB_TRANSLATE_NOOP("Command", "Save the active notebook"), QB_TRANSLATE_NOOP("Command", "Save") },
    { cmd::FileSaveAs, QB_TRANSLATE_NOOP("Command", "Save &As..."), "", QB_TRANSLATE_NOOP("Command", "Save the active notebook with a new name"), QB_TRANSLATE_NOOP("Command", "Save As") },
    { cmd::EmptyTrash, QB_TRANSLATE_NOOP("Command", "Empty the Trash"), "Ctrl+T", QB_TRANSLATE_NOOP("Command", "Delete all of the notes in the Trash folder"), QB_TRANSLATE_NOOP("Command", "Empty Trash") },
    { cmd::PrintFolder, QB_TRANSLATE_NOOP("Command", "&Print Folder"), "Ctrl+P", QB_TRANSLATE_NOOP("Command", "Print the active folder"), QB_TRANSLATE_NOOP("Command", "Print Folder") },
    { cmd::PrintSetup, QB_TRANSLATE_NOOP("Command", "P&rint Setup..."), "", QB_TRANSLATE_NOOP("Command", "Change the printer and printing options"), QB_TRANSLATE_NOOP("Command", "Print Setup") },
    { cmd::Exit, QB_TRANSLATE_NOOP("Command", "E&xit"), "Alt+F4", QB_TRANSLATE_NOOP("Command", "Quit the application; prompts to save notebooks"), QB_TRANSLATE_NOOP("Command", "Exit") },
    { cmd::EditUndo, QB_TRANSLATE_NOOP("Command", "&Undo"), "Ctrl+Z", QB_TRANSLATE_NOOP("Command", "Undo the last action"), QB_TRANSLATE_NOOP("Command", "Undo") },
    { cmd::EditCut, QB_TRANSLATE_NOOP("Command", "Cu&t"), "Ctrl+X", QB_TRANSLATE_NOOP("Command", "Cut the selection and put it on the Clipboard"), QB_TRANSLATE_NOOP("Command", "Cut") },
    { cmd::EditCopy, QB_TRANSLATE_NOOP("Command", "&Copy"), "Ctrl+C", QB_TRANSLATE_NOOP("Command", "Copy the selection and put it on the Clipboard"), QB_TRANSLATE_NOOP("Command", "Copy") },
    { cmd::EditPaste, QB_TRANSLATE_NOOP("Command", "&Paste"), "Ctrl+V", QB_TRANSLATE_NOOP("Command", "Insert Clipboard contents"), QB_TRANSLATE_NOOP("Command", "Paste") },
    { cmd::EditFind, QB_TRANSLATE_NOOP("Command", "&Find..."), "Ctrl+F", QB_TRANSLATE_NOOP("Command", "Find the specified text"), QB_TRANSLATE_NOOP("Command", "Find") },
    { cmd::History, QB_TRANSLATE_NOOP("Command", "&History..."), "Ctrl+Shift+H", QB_TRANSLATE_NOOP("Command", "Show the kept versions of the notebook and put back a note, a folder or the whole of one"), QB_TRANSLATE_NOOP("Command", "History") },
    { cmd::MergeChoices, QB_TRANSLATE_NOOP("Command", "&Merge Choices..."), "", QB_TRANSLATE_NOOP("Command", "List again what the last merge into this window needed a choice on"), QB_TRANSLATE_NOOP("Command", "Merge Choices") },
    { cmd::FindInNotebook, QB_TRANSLATE_NOOP("Command", "Find in &Notebook..."), "Ctrl+Shift+F", QB_TRANSLATE_NOOP("Command", "Find text in the names and notes of every folder"), QB_TRANSLATE_NOOP("Command", "Find in Notebook") },
    { cmd::NewNote, QB_TRANSLATE_NOOP("Command", "&New Note"), "Shift+Return", QB_TRANSLATE_NOOP("Command", "Start a new note in the current folder"), QB_TRANSLATE_NOOP("Command", "New Note") },
    { cmd::DeleteNote, QB_TRANSLATE_NOOP("Command", "&Delete Note..."), "F3", QB_TRANSLATE_NOOP("Command", "Delete the note at the cursor"), QB_TRANSLATE_NOOP("Command", "Delete Note") },
    { cmd::MoveCopyNote, QB_TRANSLATE_NOOP("Command", "&Move/Copy Note..."), "F2", QB_TRANSLATE_NOOP("Command", "Move/Copy the note at the cursor to a folder"), QB_TRANSLATE_NOOP("Command", "Move/Copy Note") },
    { cmd::NewFolder, QB_TRANSLATE_NOOP("Command", "&New Folder..."), "Ctrl+W", QB_TRANSLATE_NOOP("Command", "Create a new folder off of the currently selected folder"), QB_TRANSLATE_NOOP("Command", "New Folder") },
    { cmd::DeleteFolder, QB_TRANSLATE_NOOP("Command", "&Delete Folder"), "Ctrl+D", QB_TRANSLATE_NOOP("Command", "Delete the currently selected folder"), QB_TRANSLATE_NOOP("Command", "Delete Folder") },
    { cmd::RenameFolder, QB_TRANSLATE_NOOP("Command", "R&ename Folder..."), "Ctrl+R", QB_TRANSLATE_NOOP("Command", "Rename the currently selected folder"), QB_TRANSLATE_NOOP("Command", "Rename Folder") },
    { cmd::ExportFolder, QB_TRANSLATE_NOOP("Command", "&Export Folder..."), "Ctrl+E", QB_TRANSLATE_NOOP("Command", "Export the currently selected folder to a file"), QB_TRANSLATE_NOOP("Command", "Export Folder") },
    { cmd::ImportFolder, QB_TRANSLATE_NOOP("Command", "&Import Folder..."), "Ctrl+I", QB_TRANSLATE_NOOP("Command", "Import a folder from a file"), QB_TRANSLATE_NOOP("Command", "Import Folder") },
    { cmd::CutFolder, QB_TRANSLATE_NOOP("Command", "C&ut Folder"), "Ctrl+J", QB_TRANSLATE_NOOP("Command", "Cut the folder and put it on the Clipboard"), QB_TRANSLATE_NOOP("Command", "Cut Folder") },
    { cmd::CopyFolder, QB_TRANSLATE_NOOP("Command", "C&opy Folder"), "Ctrl+K", QB_TRANSLATE_NOOP("Command", "Copy the folder and put it on the Clipboard"), QB_TRANSLATE_NOOP("Command", "Copy Folder") },
    { cmd::PasteFolder, QB_TRANSLATE_NOOP("Command", "&Paste Folder"), "Ctrl+L", QB_TRANSLATE_NOOP("Command", "Insert the folder from the clipboard as a child of the current folder"), QB_TRANSLATE_NOOP("Command", "Paste Folder") },
    { cmd::AssignKeys, QB_TRANSLATE_NOOP("Command", "&Move/Copy Note..."), "", QB_TRANSLATE_NOOP("Command", "Preferences related to sending notes to folders"), QB_TRANSLATE_NOOP("Command", "Send Note Preferences") },
    { cmd::NoteHeaderPrefs, QB_TRANSLATE_NOOP("Command", "&Note Header..."), "", QB_TRANSLATE_NOOP("Command", "Preferences related to creating new notes"), QB_TRANSLATE_NOOP("Command", "New Note Preferences") },
    { cmd::DeleteFolderPrefs, QB_TRANSLATE_NOOP("Command", "&DeleteFolder..."), "", QB_TRANSLATE_NOOP("Command", "Preferences related to deleting a folder"), QB_TRANSLATE_NOOP("Command", "Delete Folder Preferences") },
    { cmd::HistoryPrefs, QB_TRANSLATE_NOOP("Command", "&History Size..."), "", QB_TRANSLATE_NOOP("Command", "Preferences related to the earlier versions kept of every notebook"), QB_TRANSLATE_NOOP("Command", "History Preferences") },
    { cmd::ViewToolbar, QB_TRANSLATE_NOOP("Command", "&Toolbar"), "", QB_TRANSLATE_NOOP("Command", "Show or hide the toolbar"), QB_TRANSLATE_NOOP("Command", "Toggle ToolBar") },
    { cmd::ViewStatusBar, QB_TRANSLATE_NOOP("Command", "&Status Bar"), "", QB_TRANSLATE_NOOP("Command", "Show or hide the status bar"), QB_TRANSLATE_NOOP("Command", "Toggle StatusBar") },
    { cmd::ToggleKeysBar, QB_TRANSLATE_NOOP("Command", "&Assigned Keys Bar"), "", QB_TRANSLATE_NOOP("Command", "Show or hide the assigned keys bar"), QB_TRANSLATE_NOOP("Command", "Toggle Assigned Keys Bar") },
    { cmd::ToggleView, QB_TRANSLATE_NOOP("Command", "Toggle &View"), "F6", QB_TRANSLATE_NOOP("Command", "Switch between the notes and the folders"), QB_TRANSLATE_NOOP("Command", "Toggle View") },
    { cmd::WindowCascade, QB_TRANSLATE_NOOP("Command", "&Cascade"), "", QB_TRANSLATE_NOOP("Command", "Arrange windows so they overlap"), QB_TRANSLATE_NOOP("Command", "Cascade Windows") },
    { cmd::WindowTile, QB_TRANSLATE_NOOP("Command", "&Tile"), "", QB_TRANSLATE_NOOP("Command", "Arrange windows as non-overlapping tiles"), QB_TRANSLATE_NOOP("Command", "Tile Windows") },
    { cmd::HelpTopics, QB_TRANSLATE_NOOP("Command", "&Help Topics"), "", QB_TRANSLATE_NOOP("Command", "List Help topics"), QB_TRANSLATE_NOOP("Command", "Help Topics") },
    { cmd::Tutorial, QB_TRANSLATE_NOOP("Command", "&Tutorial"), "", QB_TRANSLATE_NOOP("Command", "Run the Quillbox tutorial"), QB_TRANSLATE_NOOP("Command", "Tutorial") },
    { cmd::About, QB_TRANSLATE_NOOP("Command", "&About Quillbox..."), "", QB_TRANSLATE_NOOP("Command", "Display program information, version number and copyright"), QB_TRANSLATE_NOOP("Command", "About") },
    { cmd::ContextHelp, "", "Shift+F1", QB_TRANSLATE_NOOP("Command", "Display help for clicked on buttons, menus and windows"), QB_TRANSLATE_NOOP("Command", "Help") },
    { cmd::Help, "", "F1", QB_TRANSLATE_NOOP("Command", "Display help for current task or command"), QB_TRANSLATE_NOOP("Command", "Help") },
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
