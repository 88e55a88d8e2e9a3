#include "app/FrameTables.h"

#include <QCoreApplication>
#include <QKeyCombination>
#include <QKeyEvent>
#include <algorithm>

#include "platform/CommandIds.h"

const std::vector<MenuTable>& NoNotebookMenus()
{
    static const std::vector<MenuTable> menus {
        { QT_TRANSLATE_NOOP("Menu", "&File"),
          { { cmd::FileNew }, { cmd::FileOpen }, { kSeparator }, { cmd::PrintSetup }, { kSeparator }, { kRecentFiles },
            { kSeparator }, { cmd::Exit, false } } },
        { QT_TRANSLATE_NOOP("Menu", "&View"), { { cmd::ViewToolbar }, { cmd::ViewStatusBar } } },
        { QT_TRANSLATE_NOOP("Menu", "&Help"), { { cmd::HelpTopics }, { kSeparator }, { cmd::About } } },
    };
    return menus;
}

const std::vector<MenuTable>& NotebookMenus()
{
    static const std::vector<MenuTable> menus {
        { QT_TRANSLATE_NOOP("Menu", "&File"),
          { { cmd::FileNew }, { cmd::FileOpen }, { cmd::FileClose }, { cmd::FileSave }, { cmd::FileSaveAs }, { cmd::History },
            { cmd::MergeChoices }, { kSeparator }, { cmd::EmptyTrash }, { kSeparator }, { cmd::PrintFolder }, { kSeparator }, { kRecentFiles }, { kSeparator },
            { cmd::Exit } } },
        { QT_TRANSLATE_NOOP("Menu", "&Edit"),
          { { cmd::EditUndo }, { kSeparator }, { cmd::EditCut }, { cmd::EditCopy }, { cmd::EditPaste }, { kSeparator },
            { cmd::EditFind }, { cmd::FindInNotebook } } },
        { QT_TRANSLATE_NOOP("Menu", "&Note"), { { cmd::NewNote }, { cmd::DeleteNote }, { cmd::MoveCopyNote } } },
        { QT_TRANSLATE_NOOP("Menu", "F&older"),
          { { cmd::NewFolder }, { cmd::DeleteFolder }, { cmd::RenameFolder }, { cmd::ExportFolder }, { cmd::ImportFolder },
            { kSeparator }, { cmd::CutFolder }, { cmd::CopyFolder }, { cmd::PasteFolder } } },
        { QT_TRANSLATE_NOOP("Menu", "&Preferences"), { { cmd::AssignKeys }, { cmd::NoteHeaderPrefs }, { cmd::DeleteFolderPrefs }, { cmd::HistoryPrefs } } },
        { QT_TRANSLATE_NOOP("Menu", "&View"), { { cmd::ViewToolbar }, { cmd::ViewStatusBar }, { cmd::ToggleKeysBar }, { cmd::ToggleView } } },
        { QT_TRANSLATE_NOOP("Menu", "&Window"), { { cmd::WindowCascade }, { cmd::WindowTile }, { kWindowList } } },
        { QT_TRANSLATE_NOOP("Menu", "&Help"), { { cmd::HelpTopics }, { cmd::Tutorial }, { kSeparator }, { cmd::About } } },
    };
    return menus;
}

const std::vector<ToolbarButton>& ToolbarButtons()
{
    static const std::vector<ToolbarButton> buttons {
        { cmd::FileNew, ":/icons/new.svg" },
        { cmd::FileOpen, ":/icons/open.svg" },
        { cmd::FileSave, ":/icons/save.svg" },
        { kSeparator, nullptr },
        { cmd::EditCut, ":/icons/cut.svg" },
        { cmd::EditCopy, ":/icons/copy.svg" },
        { cmd::EditPaste, ":/icons/paste.svg" },
        { kSeparator, nullptr },
        { cmd::CutFolder, ":/icons/cutfolder.svg" },
        { cmd::CopyFolder, ":/icons/copyfolder.svg" },
        { cmd::PasteFolder, ":/icons/pastefolder.svg" },
        { kSeparator, nullptr },
        { cmd::NewNote, ":/icons/newnote.svg" },
        { cmd::DeleteNote, ":/icons/deletenote.svg" },
        { cmd::MoveCopyNote, ":/icons/movenote.svg" },
        { kSeparator, nullptr },
        { cmd::PrintFolder, ":/icons/print.svg" },
        { cmd::About, ":/icons/about.svg" },
        { cmd::ContextHelp, ":/icons/help.svg" },
    };
    return buttons;
}

namespace {

struct Accelerator
{
    QKeyCombination keys;
    int id;
};

const std::vector<Accelerator>& Accelerators()
{
    constexpr auto Ctrl = Qt::ControlModifier;
    constexpr auto Shift = Qt::ShiftModifier;
    constexpr auto Alt = Qt::AltModifier;
    static const std::vector<Accelerator> table {
        { Ctrl | Qt::Key_N, cmd::FileNew },
        { Ctrl | Qt::Key_O, cmd::FileOpen },
        { Ctrl | Qt::Key_S, cmd::FileSave },
        { Ctrl | Qt::Key_P, cmd::PrintFolder },
        { Ctrl | Qt::Key_T, cmd::EmptyTrash },
        { Ctrl | Qt::Key_Z, cmd::EditUndo },
        { Alt | Qt::Key_Backspace, cmd::EditUndo },
        { Ctrl | Qt::Key_X, cmd::EditCut },
        { Shift | Qt::Key_Delete, cmd::EditCut },
        { Ctrl | Qt::Key_C, cmd::EditCopy },
        { Ctrl | Qt::Key_Insert, cmd::EditCopy },
        { Ctrl | Qt::Key_V, cmd::EditPaste },
        { Ctrl | Qt::Key_F, cmd::EditFind },
        { Ctrl | Shift | Qt::Key_F, cmd::FindInNotebook },
        { Ctrl | Shift | Qt::Key_H, cmd::History },
        { Ctrl | Qt::Key_W, cmd::NewFolder },
        { Ctrl | Qt::Key_D, cmd::DeleteFolder },
        { Ctrl | Qt::Key_R, cmd::RenameFolder },
        { Ctrl | Qt::Key_E, cmd::ExportFolder },
        { Ctrl | Qt::Key_I, cmd::ImportFolder },
        { Ctrl | Qt::Key_J, cmd::CutFolder },
        { Ctrl | Qt::Key_K, cmd::CopyFolder },
        { Ctrl | Qt::Key_L, cmd::PasteFolder },
        { QKeyCombination(Qt::Key_F1), cmd::Help },
        { Shift | Qt::Key_F1, cmd::ContextHelp },
        { QKeyCombination(Qt::Key_F2), cmd::MoveCopyNote },
        { QKeyCombination(Qt::Key_F3), cmd::DeleteNote },
        { QKeyCombination(Qt::Key_F6), cmd::NextPane },
        { Shift | Qt::Key_F6, cmd::PrevPane },
        // The notebook window's own close key, which its File menu shows.
        { Ctrl | Qt::Key_F4, cmd::FileClose },
    };
    return table;
}

} // namespace

int FindAccelerator(const QKeyEvent& event)
{
    constexpr Qt::KeyboardModifiers kChordModifiers =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const QKeyCombination keys(event.modifiers() & kChordModifiers, Qt::Key(event.key()));
    const auto& table = Accelerators();
    const auto it = std::find_if(table.begin(), table.end(), [&](const Accelerator& a) { return a.keys == keys; });
    return it == table.end() ? 0 : it->id;
}
