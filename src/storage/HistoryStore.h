#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storage/FileProblem.h"
#include "storage/SharedText.h"

struct sqlite3;
struct sqlite3_stmt;

// How a version came to be kept.
enum class HistoryKind
{
    Read,   // the file as opened, or as another program or machine left it
    Saved,  // as Quillbox saved it
    Merged, // as quillbox-cli merge wrote it
};

// One kept version of a notebook: when, on which machine, and how.
struct HistoryVersion
{
    int64_t id = 0;
    int64_t time = 0; // milliseconds since 1970
    std::string host;
    HistoryKind kind = HistoryKind::Read;
    // The notebook's header as its keeper wrote it (HistoryContent::header).
    std::string header;
};

// A version's content: the notebook's header, as its keeper wrote it, and its folder records in
// the file's order.
struct HistoryContent
{
    struct Record
    {
        std::string name;
        std::string key;
        int children = 0;
        SharedText text;
    };

    std::string header;
    std::vector<Record> records;
};

// Every version of the notebooks Quillbox read or saved, for finding what two copies of a notebook
// went on from and for restoring what was deleted. Kept by content as a version control system
// keeps trees of blobs: each folder text once, each folder record once, a version a list of
// records, so that a version costs what changed. One SQLite database in
// $XDG_STATE_HOME/quillbox/history, private as the recovery folder beside it; every change is
// one transaction, so a process killed at any point leaves the store as it was before or after.
//
// Old versions are thinned: every version of the last day, the newest of each day for a month,
// the newest of each month after; and the oldest go while the store passes its limit, the newest
// version of each notebook always kept. The limit is kept in the store itself, so that the window
// and quillbox-cli bound it alike. Texts are told apart by a 64-bit hash and their length.
class HistoryStore
{
public:
    static constexpr uint64_t kDefaultMaxBytes = uint64_t(1) << 30;

    explicit HistoryStore(std::string dir);
    ~HistoryStore();
    HistoryStore(HistoryStore&& other) noexcept;
    HistoryStore& operator=(HistoryStore&&) = delete;
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Beside RecoveryStore::DefaultDir(); empty when there is no home at all.
    static std::string DefaultDir();
    const std::string& Dir() const { return m_strDir; }

    // Keeps `content` as a version of the notebook at `notebook`, made at `time` on this machine.
    // Nothing is written when it equals the notebook's newest version, whose id is then given.
    // Nothing, with `problem` saying why, when it could not be kept.
    std::optional<int64_t> Keep(const std::string& notebook, const HistoryContent& content, int64_t time, HistoryKind kind,
                                FileProblem& problem);
    // The notebook's versions, newest first; none when the store cannot be read.
    std::vector<HistoryVersion> List(const std::string& notebook);
    // One version's content; nothing when it is not kept (any more).
    std::optional<HistoryContent> Load(int64_t id);
    // The notebook that version belongs to.
    std::optional<std::string> NotebookOf(int64_t id);
    // The record ids of a version in file order, for telling cheaply which folders two versions
    // share; empty when it is not kept.
    std::vector<int64_t> RecordIds(int64_t id);
    // The records of these ids, in their order; those not kept (any more) left out. Without
    // bTexts, their names, keys and children only.
    std::vector<HistoryContent::Record> Records(const std::vector<int64_t>& recordIds, bool bTexts = true);
    // The bytes the store takes on the disk.
    uint64_t SizeOnDisk();
    // Thins the notebook's versions as of `now` (Keep does it too).
    void Thin(const std::string& notebook, int64_t now);
    // The limit of the store's size, as any Quillbox last set it (kDefaultMaxBytes until one
    // does); nothing, with `problem` saying why, when the store cannot be read.
    std::optional<uint64_t> MaxBytes(FileProblem& problem);
    // Sets the limit (more than 0) for every Quillbox and keeps within it at once; false, with
    // `problem` saying why, when it could not be set.
    bool SetMaxBytes(uint64_t maxBytes, FileProblem& problem);

private:
    struct Cache;

    bool Open(FileProblem& problem);
    // The statement of `sql` (a literal), prepared once: the per-record ones run thousands of
    // times a save.
    sqlite3_stmt* Prepared(const char* sql);
    // The id of the text's row, added where missing.
    // The id of the text's row, added where missing; bIndexed: looked for first among the last
    // version's.
    int64_t TextId(const SharedText& text, bool bIndexed);
    int64_t RecordId(const HistoryContent::Record& record, int64_t textId, bool bIndexed);
    void DropVersions(const std::vector<int64_t>& ids);
    // Removes the records and texts no version refers to.
    void CollectGarbage();
    // Drops the oldest versions but each notebook's newest while the store passes its limit.
    void Bound();
    // The limit as the store holds it.
    uint64_t StoredMaxBytes();
    int64_t Collections();

    std::string m_strDir;
    sqlite3* m_pDb = nullptr;
    std::unordered_map<const char*, sqlite3_stmt*> m_prepared;
    // What the last version kept holds, its texts held here, so their bytes are never reused: a
    // save that changed one folder looks up and hashes that folder alone.
    std::unique_ptr<Cache> m_pCache;
};
