#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/NotebookSnapshot.h"
#include "storage/HistoryStore.h"

// The notebooks' history in the notebook's own terms: a version is kept under the notebook file's
// full path, its links followed, so that every name of one file shares one history.
std::string HistoryKey(const std::string& notebookPath);

HistoryContent ToHistory(const NotebookSnapshot& notebook);
// Nothing when the kept header cannot be read (a store written by a later Quillbox).
std::optional<NotebookSnapshot> FromHistory(const HistoryContent& content);

// Keeps the notebook as a version of the file at `notebookPath`; its id, or nothing with
// `problem` saying why.
std::optional<int64_t> KeepVersion(HistoryStore& store, const std::string& notebookPath, const NotebookSnapshot& notebook,
                                   int64_t time, HistoryKind kind, FileProblem& problem);
std::optional<NotebookSnapshot> LoadVersion(HistoryStore& store, int64_t id);

// The history's limit as the user sets it, in the window and with quillbox-cli alike: whole
// megabytes of 2^20 bytes, from one to a terabyte's worth.
inline constexpr int kLeastHistoryMegabytes = 1;
inline constexpr int kMostHistoryMegabytes = 1 << 20;
// The limit, rounded up to whole megabytes; nothing, with `problem` saying why, when the store
// cannot be read.
std::optional<int> ReadHistoryLimit(HistoryStore& store, FileProblem& problem);
// Sets it to `megabytes` (in the range above) for every Quillbox; the oldest versions that no
// longer fit go at once, never a notebook's newest. False, with `problem` saying why, when it
// could not be set.
bool SetHistoryLimit(HistoryStore& store, int megabytes, FileProblem& problem);

// The newest kept version of the notebook at `notebookPath` that both `a` and `b` went on from,
// as `git merge-base` finds the commit two branches share; nothing when none is kept.
//
// What one copy went on from is known only by its content, since another machine's copy has a
// history this one never saw. A version counts as a start of a copy when every note the version
// wrote (added or changed, against the version before it) is in the copy's folder of that name
// as the version left it. A copy that changed such a note again is taken to start earlier: a
// base too old costs a note kept twice, where a base too new would take back what the other
// side did.
std::optional<NotebookSnapshot> FindCommonVersion(HistoryStore& store, const std::string& notebookPath,
                                                  const NotebookSnapshot& a, const NotebookSnapshot& b);
// The same version's id, found without reading it.
std::optional<int64_t> CommonVersionId(HistoryStore& store, const std::string& notebookPath, const NotebookSnapshot& a,
                                       const NotebookSnapshot& b);

// What one version changed against the one before it, by the folders' paths (FolderPath's form).
struct VersionChange
{
    HistoryVersion version;
    // The encoding of that version's names and texts.
    TextEncoding::Kind encoding = TextEncoding::Kind::Utf8;
    // The oldest version kept, which changed nothing known: the folders it holds, counted.
    std::optional<size_t> firstFolders;
    int notesAdded = 0;
    int notesRemoved = 0;
    std::vector<std::string> foldersAdded;
    std::vector<std::string> foldersRemoved;
    // Folders whose notes changed.
    std::vector<std::string> foldersChanged;
    // The notes it took away (changed or removed), each with its folder's path, as the version
    // before held them.
    std::vector<std::pair<std::string, std::string>> notesGone;
};

// The notebook's versions, newest first, each with what it changed; with `folderPath`, only
// those that changed that folder or one below it, and only those changes.
std::vector<VersionChange> VersionLog(HistoryStore& store, const std::string& notebookPath, const std::string& folderPath = {});

// The encoding a kept version's names and texts are in.
TextEncoding::Kind EncodingOf(const HistoryVersion& version);

// The path of each of a notebook's records, in file order (FolderPath's form).
std::vector<std::string> RecordPaths(const NotebookSnapshot& notebook);
// A folder file of the record at `index` with the records below it, as Export Folder writes one.
std::string FolderFileOf(const NotebookSnapshot& notebook, size_t index);
