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
// machine and what it changed; the folders of the version chosen, and the notes of the folder
// chosen, shown as they were. Restore (OK) puts that folder back, with the folders below it, as
// an unsaved change beside what the notebook holds now.
class CHistoryDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "History");
    // Reads a kept version; nothing when it cannot be read (any more).
    using Loader = std::function<std::optional<NotebookSnapshot>(int64_t id)>;

    // `selectedPath`: the window's selected folder, chosen in each version that has it.
    CHistoryDlg(std::vector<VersionChange> versions, Loader load, std::string selectedPath);

    const std::vector<VersionChange>& Versions() const { return m_versions; }
    size_t SelectedVersion() const { return m_nVersion; }
    // Chooses a version, and in it the folder at the window's selected folder's path, else the
    // first; a version that cannot be read shows no folders.
    void SelectVersion(size_t index);

    // The chosen version's folders by their paths (FolderPath's form), in file order.
    const std::vector<std::string>& Folders() const { return m_paths; }
    std::optional<size_t> SelectedFolder() const { return m_nFolder; }
    void SelectFolder(size_t index);
    // The notes of the chosen folder, as the version held them.
    std::string_view FolderText() const;
    // The chosen version's encoding, which its names and texts are in.
    TextEncoding::Kind Encoding() const;

    // Restore is possible: a folder is chosen.
    bool CanRestore() const { return m_nFolder.has_value(); }
    // The chosen folder with its subtree as a folder file's bytes, and its path.
    std::string RestoreText() const;
    std::string RestorePath() const;

private:
    std::vector<VersionChange> m_versions;
    Loader m_load;
    std::string m_strSelectedPath;
    size_t m_nVersion = 0;
    std::optional<NotebookSnapshot> m_version;
    std::vector<std::string> m_paths;
    std::optional<size_t> m_nFolder;
};
