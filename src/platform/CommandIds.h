#pragma once

// The program's command identifiers. A menu item, an accelerator, a toolbar button and a
// context-menu item that share an identifier run the same handler.
namespace cmd {

// Notes (editor view)
inline constexpr int NewNote = 32776;
inline constexpr int DeleteNote = 32777;
inline constexpr int MoveCopyNote = 32778;
inline constexpr int PrintFolder = 57607;

// Folders and preferences (document)
inline constexpr int NewFolder = 32779;
inline constexpr int DeleteFolder = 32781;
inline constexpr int AssignKeys = 32782;
inline constexpr int NoteHeaderPrefs = 32783;
inline constexpr int RenameFolder = 32788;
inline constexpr int DeleteFolderPrefs = 32794;
inline constexpr int ExportFolder = 32796;
inline constexpr int ImportFolder = 32797;
inline constexpr int CutFolder = 32801;
inline constexpr int CopyFolder = 32802;
inline constexpr int PasteFolder = 32803;
inline constexpr int EmptyTrash = 32804;

// Frames
inline constexpr int ToggleView = 32791;
inline constexpr int ToggleKeysBar = 32795;
inline constexpr int KeysBarField = 32800;
inline constexpr int Tutorial = 32815;
inline constexpr int FindInNotebook = 32816;
inline constexpr int History = 32817;
inline constexpr int MergeChoices = 32820;
inline constexpr int HistoryPrefs = 32818;

// Standard commands
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileClose = 57602;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int PrintSetup = 57606;
inline constexpr int RecentFile1 = 57616;
inline constexpr int Exit = 57665;
inline constexpr int EditCopy = 57634;
inline constexpr int EditCut = 57635;
inline constexpr int EditFind = 57636;
inline constexpr int EditPaste = 57637;
inline constexpr int EditUndo = 57643;
inline constexpr int WindowCascade = 57650;
inline constexpr int WindowTile = 57651;
inline constexpr int About = 57664;
inline constexpr int HelpTopics = 57667;
inline constexpr int ContextHelp = 57669;
inline constexpr int Help = 57670;
inline constexpr int DefaultHelp = 57671;
inline constexpr int NextPane = 57680;
inline constexpr int PrevPane = 57681;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;

// Pop-up menus
inline constexpr int FolderContextMenu = 135;
inline constexpr int NoteContextMenu = 151;

// Help context of the tutorial topic: 0x10000 plus the Tutorial command.
inline constexpr unsigned long TutorialHelpContext = 0x10000 + Tutorial;

} // namespace cmd
