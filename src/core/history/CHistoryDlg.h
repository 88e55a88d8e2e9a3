#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/KeptHistory.h"
#include "platform/Translatable.h"

// The History dialog: the kept versions of a notebook, newest first, each with when, on which
// machine and what it changed, or only those that changed the window's selected folder; the
// folders of the version chosen, and the notes of the folder chosen, shown as they were. Words
// to find show only the versions that last held a note or folder the notebook lost since that
// holds them. Restore puts back the folder chosen with the folders below it, the note chosen,
// or the whole version, as an unsaved change.
class CHistoryDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "History");
    // The notebook's versions, newest first, of the whole notebook or (a path given) of that
    // folder and those below it.
    using Log = std::function<std::vector<VersionChange>(const std::string& folderPath)>;
    // Reads a kept version; nothing when it cannot be read (any more).
    using Loader = std::function<std::optional<NotebookSnapshot>(int64_t id)>;

    enum class Restore
    {
        Folder,
        Note,
        Notebook,
    };

    // `selectedPath`: the window's selected folder, chosen in each version that has it; `now`:
    // the notebook as the window holds it, for telling what it lost.
    CHistoryDlg(Log log, Loader load, std::string selectedPath, NotebookSnapshot now);

    const std::vector<VersionChange>& Versions() const { return m_versions; }
    // The versions listed, as indices into Versions(): all of them, or those Find() found.
    const std::vector<size_t>& Shown() const { return m_shown; }
    size_t SelectedVersion() const { return m_nVersion; }
    // Chooses a version, and in it the folder at the window's selected folder's path (or the
    // folder of what Find() found there), else the first; a version that cannot be read shows
    // no folders.
    void SelectVersion(size_t index);

    // Lists only the versions that changed the window's selected folder or one below it.
    void SetFolderOnly(bool bOnly);
    bool IsFolderOnly() const { return m_bFolderOnly; }
    bool CanShowFolderOnly() const { return !m_strSelectedPath.empty(); }
    // Lists only the versions that last held a note or a folder path holding `typed` (either
    // case) which the notebook no longer holds; empty words list every version again.
    void Find(std::u16string_view typed);

    // The chosen version's folders by their paths (FolderPath's form), in file order.
    const std::vector<std::string>& Folders() const { return m_paths; }
    std::optional<size_t> SelectedFolder() const { return m_nFolder; }
    void SelectFolder(size_t index);
    // The notes of the chosen folder, as the version held them.
    std::string_view FolderText() const;
    // The chosen version's encoding, which its names and texts are in.
    TextEncoding::Kind Encoding() const;

    // Chooses the note of the chosen folder's text that holds line `line` (counted from 0).
    void SelectNoteAtLine(size_t line);
    // The line the chosen note starts on, or nothing.
    std::optional<size_t> SelectedNoteLine() const;

    // What Restore puts back; Folder when not set.
    void SetRestore(Restore what) { m_restore = what; }
    Restore GetRestore() const { return m_restore; }
    bool CanRestoreFolder() const { return m_nFolder.has_value(); }
    bool CanRestoreNote() const { return m_note.has_value(); }
    bool CanRestoreNotebook() const { return m_version.has_value(); }
    // The chosen folder with its subtree as a folder file's bytes, and its path.
    std::string RestoreText() const;
    std::string RestorePath() const;
    // The chosen note, with its line breaks, and a folder file of the chosen folder holding it
    // alone, for where that folder is gone.
    std::string_view RestoreNoteText() const;
    std::string RestoreNoteFolder() const;
    const std::optional<NotebookSnapshot>& RestoreNotebook() const { return m_version; }

private:
    struct Span
    {
        size_t offset = 0;
        size_t line = 0;
        size_t size = 0;
    };
    // Where a version's lost note or folder is found: the version index, the path, and the
    // note's text (empty for a folder).
    struct Lost
    {
        size_t version = 0;
        std::string path;
        std::string note;
    };

    void ListVersions();
    // Fills m_found and m_shown with what the versions lost that holds `bytes`.
    void FindLost(const std::string& bytes);
    std::vector<Span> NoteSpans() const;
    void SelectNoteAt(size_t offset);

    Log m_log;
    Loader m_load;
    std::string m_strSelectedPath;
    NotebookSnapshot m_now;
    bool m_bFolderOnly = false;
    std::u16string m_typed;
    std::vector<VersionChange> m_versions;
    std::vector<size_t> m_shown;
    std::vector<Lost> m_found;
    size_t m_nVersion = 0;
    std::optional<NotebookSnapshot> m_version;
    std::vector<std::string> m_paths;
    std::optional<size_t> m_nFolder;
    std::optional<Span> m_note;
    Restore m_restore = Restore::Folder;
};
