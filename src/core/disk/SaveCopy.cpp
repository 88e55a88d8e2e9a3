#include "disk/SaveCopy.h"

#include <unistd.h>

#include "format/NotebookFormat.h"
#include "storage/FileAccess.h"

namespace {

// A notebook's writer ends it with the records' end, after everything else.
bool IsComplete(const std::string& path)
{
    const std::optional<std::string> tail = ReadFileTail(path, kEndOfRecords.size() + 4);
    return tail && *tail == "\r\n" + std::string(kEndOfRecords) + "\r\n";
}

} // namespace

std::optional<std::string> FindSaveCopy(const std::string& notebookPath)
{
    const std::string copy = SaveCopyPath(notebookPath);
    if (copy.empty() || ::access(copy.c_str(), F_OK) != 0 || IsBeingSaved(copy))
        return std::nullopt;
    if (IsComplete(copy) && !SameFileBytes(copy, notebookPath))
        return copy;
    ::unlink(copy.c_str());
    return std::nullopt;
}

std::optional<std::string> OfferSaveCopy(const std::string& notebookPath, Prompts& prompts)
{
    std::optional<std::string> copy = FindSaveCopy(notebookPath);
    if (copy && !prompts.AskUseSaveCopy(notebookPath, *copy))
        return std::nullopt;
    return copy;
}
