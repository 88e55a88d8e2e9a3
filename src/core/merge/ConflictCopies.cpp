#include "merge/ConflictCopies.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "format/NotebookReader.h"

namespace {

bool Digits(std::string_view text, size_t count)
{
    return text.size() == count && std::all_of(text.begin(), text.end(), [](unsigned char ch) { return std::isdigit(ch); });
}

// "YYYY-MM-DD"
bool IsDate(std::string_view text)
{
    return text.size() == 10 && Digits(text.substr(0, 4), 4) && text[4] == '-' && Digits(text.substr(5, 2), 2)
        && text[7] == '-' && Digits(text.substr(8, 2), 2);
}

// Whether `name` is a conflict copy's name for the notebook named `stem` + ".not".
bool IsConflictCopy(std::string_view name, std::string_view stem)
{
    if (!name.starts_with(stem) || !name.ends_with(".not"))
        return false;
    std::string_view rest = name.substr(stem.size(), name.size() - stem.size() - 4);
    // Syncthing: ".sync-conflict-YYYYMMDD-HHMMSS-DEVICE"
    if (rest.starts_with(".sync-conflict-")) {
        rest.remove_prefix(15);
        return rest.size() > 16 && Digits(rest.substr(0, 8), 8) && rest[8] == '-' && Digits(rest.substr(9, 6), 6) && rest[15] == '-';
    }
    // Nextcloud and ownCloud: " (conflicted copy YYYY-MM-DD HHMMSS)"
    constexpr std::string_view kCloud = " (conflicted copy ";
    if (rest.starts_with(kCloud)) {
        rest.remove_prefix(kCloud.size());
        return rest.size() == 18 && IsDate(rest.substr(0, 10)) && rest[10] == ' ' && Digits(rest.substr(11, 6), 6) && rest[17] == ')';
    }
    // Dropbox: " (HOST's conflicted copy YYYY-MM-DD)"
    constexpr std::string_view kDropbox = "'s conflicted copy ";
    const size_t at = rest.find(kDropbox);
    return rest.starts_with(" (") && at != std::string_view::npos && at > 2 && rest.size() == at + kDropbox.size() + 11
        && IsDate(rest.substr(at + kDropbox.size(), 10)) && rest.back() == ')';
}

} // namespace

std::vector<std::string> FindConflictCopies(const std::string& path)
{
    const std::filesystem::path notebook(path);
    if (notebook.extension() != ".not")
        return {};
    const std::string stem = notebook.stem().string();
    std::vector<std::string> copies;
    std::error_code code;
    const std::filesystem::path dir = notebook.has_parent_path() ? notebook.parent_path() : ".";
    for (const auto& file : std::filesystem::directory_iterator(dir, code)) {
        std::error_code ignored;
        if (file.is_regular_file(ignored) && IsConflictCopy(file.path().filename().string(), stem))
            copies.push_back(file.path().string());
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

CopiesMerge MergeConflictCopies(const std::string& path, const std::vector<std::string>& copies,
                                const BaseFinder& findBase, const std::tm& moment, const MergeOptions& options)
{
    CopiesMerge result;
    result.report = ReadNotebookSnapshot(path, moment, result.notebook, &result.hash);
    if (result.report.status != ReadReport::Status::Ok)
        return result;
    NotebookSnapshot merged = result.notebook;
    for (const std::string& copy : copies) {
        NotebookSnapshot theirs;
        const ReadReport report = ReadNotebookSnapshot(copy, moment, theirs);
        const bool bWhole = report.status == ReadReport::Status::Ok;
        if (!bWhole)
            result.problems.push_back(report.problem.During(FileProblem::Action::MergeCopy, copy));
        if (!report.Opened())
            continue;
        // What the copy went on from is looked for with the notebook as it stands in its file,
        // whose history is kept; the copies merged before it add nothing to that.
        MergeResult step = bWhole ? MergeFromBase(
                                        [&](const NotebookSnapshot&, const NotebookSnapshot& copy) {
                                            return findBase ? findBase(result.notebook, copy) : std::nullopt;
                                        },
                                        merged, theirs, options)
                                  : UnionNotebooks(merged, theirs, options);
        merged = std::move(step.notebook);
        result.merged.events.insert(result.merged.events.end(), step.events.begin(), step.events.end());
        if (bWhole)
            result.mergedCopies.push_back(copy);
        result.bMerged = true;
    }
    result.merged.notebook = std::move(merged);
    return result;
}
