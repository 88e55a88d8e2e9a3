#include "words/HistoryWords.h"

#include "storage/TextEncoding.h"
#include "words/Translate.h"

std::string DescribeHistoryKind(HistoryKind kind)
{
    switch (kind) {
    case HistoryKind::Read:
        return Tr("HistoryWords", "read");
    case HistoryKind::Saved:
        return Tr("HistoryWords", "saved");
    case HistoryKind::Merged:
        return Tr("HistoryWords", "merged");
    }
    return {};
}

std::string DescribeVersionChange(const VersionChange& change)
{
    if (change.firstFolders)
        return Fill(Tr("HistoryWords", "the oldest version kept: %1 folders"), { std::to_string(*change.firstFolders) });
    std::string what;
    const auto add = [&what](const std::string& part) { what += (what.empty() ? "" : "; ") + part; };
    if (change.notesAdded || change.notesRemoved)
        add(Fill(Tr("HistoryWords", "notes: %1 added, %2 removed"), { std::to_string(change.notesAdded), std::to_string(change.notesRemoved) }));
    // The paths are the version's bytes; the words are UTF-8.
    const auto words = [&change](const std::string& path) {
        return change.encoding == TextEncoding::Kind::Windows1252 ? TextEncoding::Cp1252ToUtf8(path) : path;
    };
    for (const std::string& path : change.foldersAdded)
        add(Fill(Tr("HistoryWords", "folder added: %1"), { words(path) }));
    for (const std::string& path : change.foldersRemoved)
        add(Fill(Tr("HistoryWords", "folder removed: %1"), { words(path) }));
    for (const std::string& path : change.foldersChanged)
        add(Fill(Tr("HistoryWords", "folder changed: %1"), { words(path) }));
    return what;
}
