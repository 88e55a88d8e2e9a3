#pragma once

#include <string_view>

// The two folders every notebook holds; neither is renamed, deleted, cut or copied, and a
// record of either is read back at the top level wherever it stands.
inline constexpr char kMainName[] = "Main";
inline constexpr char kTrashName[] = "Trash";

// Trash's key, which it always holds, and the two functions a key can have: Move takes the note
// out of its folder, Copy leaves it there.
inline constexpr char kTrashKey[] = "F3";
inline constexpr char kMoveFunction[] = "Move";
inline constexpr char kCopyFunction[] = "Copy";

inline bool IsSpecialName(std::string_view name)
{
    return name == kMainName || name == kTrashName;
}

// Whether the folder of this name takes new folders under it (New Folder, Import Folder,
// Paste Folder, a path made by quillbox-cli): every folder but the Trash.
inline bool TakesNewFolders(std::string_view name)
{
    return name != kTrashName;
}
