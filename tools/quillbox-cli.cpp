#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "HeadlessNotebook.h"

namespace {

const char* const kUsage = R"(Usage: quillbox-cli COMMAND ARGUMENTS...

Reads and writes Quillbox notebook files (*.not) without opening a window.

Commands:
  new FILE        Create a new notebook with the folders Main and Trash and save it as
                  FILE. Nothing already named FILE is replaced, not even a symbolic link
                  to nowhere.
  tree FILE       Print the folders of notebook FILE as the folder tree shows them: sorted
                  by name, two spaces of indent per level. A folder with an assigned key
                  shows the key and its function, as in "Trash  [F3 Move]"; the folder that
                  was selected when the notebook was saved ends in "  *".
  cat FILE PATH   Print the notes of one folder of notebook FILE, byte for byte. PATH is the
                  folder's name after the names of the folders above it, joined by "/", as
                  in "Main/Ideas"; where names repeat, the folder made first is taken.
  resave IN OUT   Open notebook IN and save it as OUT, as opening and saving in Quillbox do.
                  A read-only OUT is not replaced.
  --help          Show this text.

A notebook file that ends early is still read; a warning says so. Errors are written to
standard error, and the exit status is then 1 (2 for a command line that is not understood).
)";

void Error(const std::string& message)
{
    std::fprintf(stderr, "quillbox-cli: %s\n", message.c_str());
}

void Write(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// Opens `path` into nb; false, after saying why, when there is no notebook to show.
bool Open(HeadlessNotebook& nb, const std::string& path)
{
    const ReadReport report = nb.doc.OnOpenDocument(path);
    if (!report.Opened()) {
        Error(report.message);
        return false;
    }
    if (report.status == ReadReport::Status::Incomplete)
        Error("warning: " + report.message);
    return true;
}

int New(const std::string& path)
{
    // Anything under the name, a dangling symbolic link included, is left alone.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        Error("\"" + path + "\" already exists.");
        return 1;
    }
    HeadlessNotebook nb;
    nb.doc.OnNewDocument();
    const SaveResult result = nb.doc.OnSaveDocument(path);
    if (!result.ok)
        Error(result.message);
    return result.ok ? 0 : 1;
}

int Tree(const std::string& path)
{
    HeadlessNotebook nb;
    if (!Open(nb, path))
        return 1;
    std::unordered_map<TreeItem, const Folder*> folderOfItem;
    for (const Folder* pFolder : nb.doc.m_folders)
        folderOfItem.emplace(pFolder->GetItem(), pFolder);

    // Each entry: a list of sibling items and the position reached in it.
    std::vector<std::pair<const std::vector<TreeItem>*, size_t>> stack { { &nb.tree.GetChildren(kNoItem), 0 } };
    while (!stack.empty()) {
        auto& [pItems, index] = stack.back();
        if (index == pItems->size()) {
            stack.pop_back();
            continue;
        }
        const TreeItem item = (*pItems)[index++];
        const Folder* pFolder = folderOfItem.at(item);
        std::string line(2 * (stack.size() - 1), ' ');
        line += pFolder->m_name;
        if (pFolder->HasKey())
            line += "  [" + pFolder->GetKey()->key + " " + pFolder->GetKey()->function + "]";
        if (pFolder == nb.doc.m_pSelFolder)
            line += "  *";
        Write(line + "\n");
        const auto& children = nb.tree.GetChildren(item);
        if (!children.empty())
            stack.emplace_back(&children, 0);
    }
    return 0;
}

// The folder that PATH names: each name in turn, among the children of the folder before it
// (the top level first), the first such folder in the notebook's order of folders.
const Folder* FindByPath(const CQuillboxDoc& doc, const std::string& path)
{
    const Folder* pParent = nullptr;
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('/', start);
        const std::string name = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        const auto found = std::find_if(doc.m_folders.begin(), doc.m_folders.end(), [&](const Folder* p) {
            return p->m_pParent == pParent && p->m_name == name;
        });
        if (found == doc.m_folders.end())
            return nullptr;
        pParent = *found;
        if (slash == std::string::npos)
            return pParent;
        start = slash + 1;
    }
}

int Cat(const std::string& path, const std::string& folderPath)
{
    HeadlessNotebook nb;
    if (!Open(nb, path))
        return 1;
    const Folder* pFolder = FindByPath(nb.doc, folderPath);
    if (!pFolder) {
        Error("\"" + path + "\" has no folder \"" + folderPath + "\".");
        return 1;
    }
    Write(nb.TextOf(pFolder));
    return 0;
}

int Resave(const std::string& in, const std::string& out)
{
    HeadlessNotebook nb;
    if (!Open(nb, in))
        return 1;
    const SaveResult result = nb.doc.OnSaveDocument(out);
    if (!result.ok)
        Error(result.message);
    return result.ok ? 0 : 1;
}

int Run(const std::vector<std::string>& args)
{
    const std::string command = args.empty() ? std::string() : args[0];
    if (command == "--help" && args.size() == 1) {
        Write(kUsage);
        return 0;
    }
    if (command == "new" && args.size() == 2)
        return New(args[1]);
    if (command == "tree" && args.size() == 2)
        return Tree(args[1]);
    if (command == "cat" && args.size() == 3)
        return Cat(args[1], args[2]);
    if (command == "resave" && args.size() == 3)
        return Resave(args[1], args[2]);
    Error(command.empty() ? "no command given; see quillbox-cli --help"
                          : "cannot understand \"" + command + "\" with " + std::to_string(args.size() - 1)
                                + " argument(s); see quillbox-cli --help");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int status = 1;
    try {
        status = Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        Error(e.what());
        return 1;
    }
    if (std::fflush(stdout) != 0) {
        Error(std::string("cannot write the output: ") + std::strerror(errno));
        return 1;
    }
    return status;
}
