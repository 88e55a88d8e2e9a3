#pragma once

#include <string>
#include <string_view>
#include <vector>

class Folder;
class FolderTree;

// A folder path names a folder by the names from the top level down, joined by "/", as in
// "Main/Ideas". Inside a name, "\/" stands for a slash and "\\" for a backslash; any other
// backslash is taken as it is. Where siblings share a name, the folder made first is meant.

// A name as it stands in a path.
std::string EscapeFolderName(std::string_view name);
// The names a path holds, top level first.
std::vector<std::string> SplitFolderPath(std::string_view path);
// The path of `node`, whose name and parent `nameOf` and `parentOf` give, up from it to where
// `parentOf` gives `top`: for every kind of tree a path is made of (the document's folders, a
// merge's records, a search's entries).
template <typename Node, typename NameOf, typename ParentOf>
std::string JoinFolderPath(Node node, Node top, NameOf nameOf, ParentOf parentOf, bool bEscaped = true)
{
    std::vector<Node> chain;
    for (; node != top; node = parentOf(node))
        chain.push_back(node);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (it != chain.rbegin())
            path += '/';
        path += bEscaped ? EscapeFolderName(nameOf(*it)) : std::string(nameOf(*it));
    }
    return path;
}
// The path of a folder; with bEscaped off, its names as they are, for people to read.
std::string FolderPath(const Folder* pFolder, bool bEscaped = true);
// What a list of folders shows for each of `shown` (the Assign Keys dialog's rows, the Assigned
// Keys strip): its name, or its path for people to read ("Main/Work/Ideas") when another folder
// of `all` has the same name, so that the user can tell the two apart.
std::vector<std::string> NamesApart(const std::vector<Folder*>& all, const std::vector<Folder*>& shown);

// A folder that has a key, as the Assigned Keys strip and its name for screen readers list it.
struct KeyedFolder
{
    std::string name; // as NamesApart shows it
    std::string key;  // "F4"
};
// The folders of `all` that have a key, in their order.
std::vector<KeyedFolder> KeyedFolders(const std::vector<Folder*>& all);

// The folder of GetFolders() made first with this name and parent (null: the top level).
Folder* FindChildFolder(const FolderTree& tree, const Folder* pParent, std::string_view name);
// The folder a path names, or null.
Folder* FindFolderByPath(const FolderTree& tree, std::string_view path);

// pStart and its subtree, or every folder when pStart is null, in the order the folder tree
// shows them: a folder, then its children in name order, each followed by its own subtree.
std::vector<const Folder*> FoldersInTreeOrder(const FolderTree& tree, const Folder* pStart);
