#include "storage/HistoryStore.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <filesystem>
#include <set>
#include <utility>

#include "storage/FileAccess.h"
#include "storage/FileIdentity.h"
#include "storage/LockFile.h"
#include "storage/RecoveryStore.h"

namespace {

constexpr int64_t kDayMs = int64_t(24) * 60 * 60 * 1000;
constexpr int64_t kMonthMs = 30 * kDayMs;
// Versions dropped before the records and texts only they held are looked for.
constexpr int kGarbageRun = 32;

constexpr const char* kSchema = R"(
PRAGMA auto_vacuum = INCREMENTAL;
CREATE TABLE IF NOT EXISTS texts (id INTEGER PRIMARY KEY, hash INTEGER NOT NULL, size INTEGER NOT NULL, body BLOB NOT NULL);
CREATE INDEX IF NOT EXISTS texts_by_hash ON texts (hash, size);
CREATE TABLE IF NOT EXISTS records (id INTEGER PRIMARY KEY, name BLOB NOT NULL, key TEXT NOT NULL,
    children INTEGER NOT NULL, text INTEGER NOT NULL, UNIQUE (name, key, children, text));
CREATE TABLE IF NOT EXISTS versions (id INTEGER PRIMARY KEY, notebook BLOB NOT NULL, time INTEGER NOT NULL,
    host TEXT NOT NULL, kind INTEGER NOT NULL, header BLOB NOT NULL, records BLOB NOT NULL);
CREATE INDEX IF NOT EXISTS versions_by_notebook ON versions (notebook, time);
CREATE TABLE IF NOT EXISTS counts (name TEXT PRIMARY KEY, value INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS settings (name TEXT PRIMARY KEY, value INTEGER NOT NULL);
)";

// One prepared statement, finalized when it goes.
class Statement
{
public:
    Statement(sqlite3* pDb, const char* sql)
    {
        if (sqlite3_prepare_v2(pDb, sql, -1, &m_p, nullptr) != SQLITE_OK)
            m_p = nullptr;
    }
    // One prepared once and kept by the store: made ready for the next use when this goes.
    explicit Statement(sqlite3_stmt* pKept)
        : m_p(pKept)
        , m_bKept(true)
    {
    }
    ~Statement()
    {
        if (m_bKept) {
            sqlite3_reset(m_p);
            sqlite3_clear_bindings(m_p);
        } else {
            sqlite3_finalize(m_p);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool Ok() const { return m_p != nullptr; }
    Statement& Bind(int index, int64_t value)
    {
        sqlite3_bind_int64(m_p, index, value);
        return *this;
    }
    Statement& Bind(int index, std::string_view bytes)
    {
        sqlite3_bind_blob64(m_p, index, bytes.empty() ? "" : bytes.data(), bytes.size(), SQLITE_STATIC);
        return *this;
    }
    Statement& BindText(int index, std::string_view text)
    {
        sqlite3_bind_text64(m_p, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
        return *this;
    }
    // Steps once: true while there is a row.
    bool Row() { return m_p && sqlite3_step(m_p) == SQLITE_ROW; }
    // Runs to the end; true when it finished without an error.
    bool Run()
    {
        if (!m_p)
            return false;
        int result;
        while ((result = sqlite3_step(m_p)) == SQLITE_ROW) {
        }
        return result == SQLITE_DONE;
    }
    void Reset()
    {
        sqlite3_reset(m_p);
        sqlite3_clear_bindings(m_p);
    }
    int64_t Int(int column) const { return sqlite3_column_int64(m_p, column); }
    std::string_view Bytes(int column) const
    {
        const void* p = sqlite3_column_blob(m_p, column);
        return p ? std::string_view(static_cast<const char*>(p), size_t(sqlite3_column_bytes(m_p, column))) : std::string_view();
    }

private:
    sqlite3_stmt* m_p = nullptr;
    bool m_bKept = false;
};

bool Exec(sqlite3* pDb, const char* sql)
{
    return sqlite3_exec(pDb, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A version's record ids, each as a base-128 number, seven bits a byte, the last byte's top bit
// clear: a 10,000-folder notebook's list is some 30 KB.
std::string PackIds(const std::vector<int64_t>& ids)
{
    std::string packed;
    packed.reserve(ids.size() * 3);
    for (int64_t id : ids) {
        auto value = static_cast<uint64_t>(id);
        while (value >= 0x80) {
            packed.push_back(char(0x80 | (value & 0x7F)));
            value >>= 7;
        }
        packed.push_back(char(value));
    }
    return packed;
}

std::vector<int64_t> UnpackIds(std::string_view packed)
{
    std::vector<int64_t> ids;
    ids.reserve(packed.size() / 2);
    uint64_t value = 0;
    int shift = 0;
    for (const char c : packed) {
        const auto byte = static_cast<unsigned char>(c);
        value |= uint64_t(byte & 0x7F) << shift;
        if (byte & 0x80) {
            shift += 7;
            continue;
        }
        ids.push_back(static_cast<int64_t>(value));
        value = 0;
        shift = 0;
    }
    return ids;
}

uint64_t HistoryTextHash(std::string_view text)
{
    ContentHash hash;
    hash.Add(text);
    return hash.Value();
}

// The versions thinning keeps of one notebook's, given newest first: all of the last day, the
// newest of each day for a month, the newest of each month after.
std::vector<int64_t> ThinnedOut(const std::vector<HistoryVersion>& versions, int64_t now)
{
    std::vector<int64_t> dropped;
    std::set<int64_t> buckets;
    for (size_t i = 0; i < versions.size(); ++i) {
        const int64_t age = now - versions[i].time;
        if (i == 0 || age < kDayMs)
            continue;
        const int64_t bucket = age < kMonthMs ? versions[i].time / kDayMs : kMonthMs + versions[i].time / kMonthMs;
        if (!buckets.insert(bucket).second)
            dropped.push_back(versions[i].id);
    }
    return dropped;
}

} // namespace

// A record's name, key, children and text row, as one key.
std::string RecordKey(const HistoryContent::Record& record, int64_t textId)
{
    std::string key = record.name;
    key += '\0';
    key += record.key;
    key += '\0';
    key += std::to_string(record.children) + ':' + std::to_string(textId);
    return key;
}

struct HistoryStore::Cache
{
    // A record of the version, with its text (held, so its bytes stay where they are) and rows.
    struct Kept
    {
        HistoryContent::Record record;
        int64_t textId = 0;
        int64_t recordId = 0;
    };
    // The version's records in its order: a record where it was, as it was, is known at once.
    std::vector<Kept> kept;
    // The store's count of garbage collections when these rows were seen: any Quillbox's
    // collection since may have taken some of them.
    int64_t collections = 0;
    // Made from `kept` when a record is not where it was: the rows by the address of a text's
    // bytes and by a record's key.
    std::unordered_map<const char*, std::pair<size_t, int64_t>> texts;
    std::unordered_map<std::string, int64_t> records;
    bool bIndexed = false;

    void Index()
    {
        if (bIndexed)
            return;
        bIndexed = true;
        for (const Kept& each : kept) {
            if (each.recordId == 0)
                continue;
            if (!each.record.text.empty())
                texts.emplace(each.record.text.View().data(), std::make_pair(each.record.text.size(), each.textId));
            records.emplace(RecordKey(each.record, each.textId), each.recordId);
        }
    }
};

HistoryStore::HistoryStore(std::string dir)
    : m_strDir(std::move(dir))
{
}

HistoryStore::~HistoryStore()
{
    for (const auto& [sql, pStatement] : m_prepared)
        sqlite3_finalize(pStatement);
    sqlite3_close_v2(m_pDb);
}

HistoryStore::HistoryStore(HistoryStore&& other) noexcept
    : m_strDir(std::move(other.m_strDir))
    , m_pDb(std::exchange(other.m_pDb, nullptr))
    , m_prepared(std::exchange(other.m_prepared, {}))
    , m_pCache(std::move(other.m_pCache))
{
}

sqlite3_stmt* HistoryStore::Prepared(const char* sql)
{
    sqlite3_stmt*& pStatement = m_prepared[sql];
    if (!pStatement && sqlite3_prepare_v3(m_pDb, sql, -1, SQLITE_PREPARE_PERSISTENT, &pStatement, nullptr) != SQLITE_OK)
        pStatement = nullptr;
    return pStatement;
}

std::string HistoryStore::DefaultDir()
{
    const std::string recovery = RecoveryStore::DefaultDir();
    return recovery.empty() ? std::string() : std::filesystem::path(recovery).parent_path().string() + "/history";
}

bool HistoryStore::Open(FileProblem& problem)
{
    if (m_pDb)
        return true;
    if (m_strDir.empty()) {
        problem = FileProblem { .kind = FileProblem::Kind::NoRecoveryFolder };
        return false;
    }
    // Made as the recovery folder is: the state folders above it the user's own, it private.
    const std::filesystem::path parent = std::filesystem::path(m_strDir).parent_path();
    if (!MakeFolders(parent.parent_path().string(), problem) || !MakePrivateFolder(parent.string(), problem)
        || !MakePrivateFolder(m_strDir, problem)) {
        // Their problems name no path: it is this folder that could not be made.
        problem.path = m_strDir;
        return false;
    }
    const std::string path = m_strDir + "/history.db";
    // Made 0600 here, whatever the umask: SQLite gives its journal files the database's mode.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        problem = FileProblem { .kind = FileProblem::Kind::System, .path = path, .error = errno };
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    sqlite3* pDb = nullptr;
    const int result = sqlite3_open_v2(path.c_str(), &pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW, nullptr);
    // Another Quillbox may be writing: wait for it rather than fail.
    if (result == SQLITE_OK) {
        sqlite3_busy_timeout(pDb, 10000);
        sqlite3_extended_result_codes(pDb, 1);
    }
    if (result != SQLITE_OK || !Exec(pDb, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;") || !Exec(pDb, kSchema)) {
        problem = FileProblem { .kind = FileProblem::Kind::Failure, .path = path, .detail = pDb ? sqlite3_errmsg(pDb) : "" };
        sqlite3_close_v2(pDb);
        return false;
    }
    m_pDb = pDb;
    return true;
}

int64_t HistoryStore::TextId(const SharedText& text, bool bIndexed)
{
    if (bIndexed && m_pCache && !text.empty()) {
        m_pCache->Index();
        const auto found = m_pCache->texts.find(text.View().data());
        if (found != m_pCache->texts.end() && found->second.first == text.size())
            return found->second.second;
    }
    const auto hash = static_cast<int64_t>(HistoryTextHash(text));
    Statement find(Prepared("SELECT id FROM texts WHERE hash = ? AND size = ?"));
    find.Bind(1, hash).Bind(2, int64_t(text.size()));
    int64_t id = 0;
    if (find.Row()) {
        id = find.Int(0);
    } else {
        Statement add(Prepared("INSERT INTO texts (hash, size, body) VALUES (?, ?, ?)"));
        add.Bind(1, hash).Bind(2, int64_t(text.size())).Bind(3, text.View());
        if (!add.Run())
            return 0;
        id = sqlite3_last_insert_rowid(m_pDb);
    }
    return id;
}

int64_t HistoryStore::RecordId(const HistoryContent::Record& record, int64_t textId, bool bIndexed)
{
    if (bIndexed && m_pCache) {
        m_pCache->Index();
        if (const auto found = m_pCache->records.find(RecordKey(record, textId)); found != m_pCache->records.end())
            return found->second;
    }
    Statement find(Prepared("SELECT id FROM records WHERE name = ? AND key = ? AND children = ? AND text = ?"));
    find.Bind(1, record.name).BindText(2, record.key).Bind(3, int64_t(record.children)).Bind(4, textId);
    int64_t id = 0;
    if (find.Row()) {
        id = find.Int(0);
    } else {
        Statement add(Prepared("INSERT INTO records (name, key, children, text) VALUES (?, ?, ?, ?)"));
        add.Bind(1, record.name).BindText(2, record.key).Bind(3, int64_t(record.children)).Bind(4, textId);
        if (!add.Run())
            return 0;
        id = sqlite3_last_insert_rowid(m_pDb);
    }
    return id;
}

std::optional<int64_t> HistoryStore::Keep(const std::string& notebook, const HistoryContent& content, int64_t time,
                                          HistoryKind kind, FileProblem& problem)
{
    if (!Open(problem))
        return std::nullopt;
    const auto fail = [&]() -> std::optional<int64_t> {
        problem = FileProblem { .kind = FileProblem::Kind::Failure, .path = m_strDir, .detail = sqlite3_errmsg(m_pDb) };
        Exec(m_pDb, "ROLLBACK");
        m_pCache.reset();
        return std::nullopt;
    };
    if (!Exec(m_pDb, "BEGIN IMMEDIATE"))
        return fail();
    auto pNext = std::make_unique<Cache>();
    pNext->collections = Collections();
    if (m_pCache && m_pCache->collections != pNext->collections)
        m_pCache.reset();
    std::vector<int64_t> ids;
    ids.reserve(content.records.size());
    pNext->kept.reserve(content.records.size());
    // Records not where they were: a few (a folder changed) are looked up in the store, many (a
    // folder added, and those after it moved) in what the last version held.
    constexpr size_t kFewMoved = 16;
    size_t moved = 0;
    for (size_t i = 0; i < content.records.size(); ++i) {
        const HistoryContent::Record& record = content.records[i];
        Cache::Kept* pOld = m_pCache && i < m_pCache->kept.size() ? &m_pCache->kept[i] : nullptr;
        const bool bSameText = pOld && pOld->record.text.View().data() == record.text.View().data()
            && pOld->record.text.size() == record.text.size();
        if (bSameText && pOld->record.children == record.children && pOld->record.name == record.name && pOld->record.key == record.key) {
            ids.push_back(pOld->recordId);
            pNext->kept.push_back(std::move(*pOld));
            // Taken: what is left of it names no record.
            pOld->recordId = 0;
            continue;
        }
        const bool bIndexed = ++moved > kFewMoved;
        const int64_t textId = bSameText ? pOld->textId : TextId(record.text, bIndexed);
        const int64_t recordId = textId ? RecordId(record, textId, bIndexed) : 0;
        if (!recordId)
            return fail();
        ids.push_back(recordId);
        pNext->kept.push_back({ record, textId, recordId });
    }
    const std::string packed = PackIds(ids);
    Statement newest(m_pDb, "SELECT id, header, records FROM versions WHERE notebook = ? ORDER BY time DESC, id DESC LIMIT 1");
    newest.Bind(1, notebook);
    if (newest.Row() && newest.Bytes(1) == content.header && newest.Bytes(2) == packed) {
        const int64_t id = newest.Int(0);
        if (!Exec(m_pDb, "COMMIT"))
            return fail();
        m_pCache = std::move(pNext);
        return id;
    }
    Statement add(m_pDb, "INSERT INTO versions (notebook, time, host, kind, header, records) VALUES (?, ?, ?, ?, ?, ?)");
    const std::string host = LockOwner::Self().host;
    add.Bind(1, notebook).Bind(2, time).BindText(3, host).Bind(4, int64_t(kind)).Bind(5, content.header).Bind(6, packed);
    if (!add.Run())
        return fail();
    const int64_t id = sqlite3_last_insert_rowid(m_pDb);
    if (!Exec(m_pDb, "COMMIT"))
        return fail();
    m_pCache = std::move(pNext);
    Thin(notebook, time);
    Bound();
    return id;
}

std::vector<HistoryVersion> HistoryStore::List(const std::string& notebook)
{
    std::vector<HistoryVersion> versions;
    FileProblem ignored;
    if (!Open(ignored))
        return versions;
    Statement list(m_pDb, "SELECT id, time, host, kind, header FROM versions WHERE notebook = ? ORDER BY time DESC, id DESC");
    list.Bind(1, notebook);
    while (list.Row()) {
        const int64_t kind = list.Int(3);
        versions.push_back({ list.Int(0), list.Int(1), std::string(list.Bytes(2)),
                             kind == int64_t(HistoryKind::Saved)    ? HistoryKind::Saved
                                 : kind == int64_t(HistoryKind::Merged) ? HistoryKind::Merged
                                                                        : HistoryKind::Read,
                             std::string(list.Bytes(4)) });
    }
    return versions;
}

std::optional<std::string> HistoryStore::NotebookOf(int64_t id)
{
    FileProblem ignored;
    if (!Open(ignored))
        return std::nullopt;
    Statement find(m_pDb, "SELECT notebook FROM versions WHERE id = ?");
    find.Bind(1, id);
    if (!find.Row())
        return std::nullopt;
    return std::string(find.Bytes(0));
}

std::vector<int64_t> HistoryStore::RecordIds(int64_t id)
{
    FileProblem ignored;
    if (!Open(ignored))
        return {};
    Statement find(Prepared("SELECT records FROM versions WHERE id = ?"));
    find.Bind(1, id);
    return find.Row() ? UnpackIds(find.Bytes(0)) : std::vector<int64_t>();
}

std::optional<HistoryContent> HistoryStore::Load(int64_t id)
{
    FileProblem ignored;
    if (!Open(ignored))
        return std::nullopt;
    // One read transaction, so that a thinning in another process cannot take rows half way.
    Exec(m_pDb, "BEGIN");
    std::optional<HistoryContent> content;
    Statement version(m_pDb, "SELECT header, records FROM versions WHERE id = ?");
    version.Bind(1, id);
    if (version.Row()) {
        const std::vector<int64_t> ids = UnpackIds(version.Bytes(1));
        content.emplace();
        content->header = std::string(version.Bytes(0));
        content->records = Records(ids);
        if (content->records.size() != ids.size())
            content.reset();
    }
    Exec(m_pDb, "COMMIT");
    return content;
}

std::vector<HistoryContent::Record> HistoryStore::Records(const std::vector<int64_t>& recordIds, bool bTexts)
{
    std::vector<HistoryContent::Record> records;
    FileProblem ignored;
    if (!Open(ignored))
        return records;
    Statement find(m_pDb, bTexts ? "SELECT records.name, records.key, records.children, texts.body FROM records "
                                   "JOIN texts ON texts.id = records.text WHERE records.id = ?"
                                 : "SELECT name, key, children, '' FROM records WHERE id = ?");
    for (const int64_t id : recordIds) {
        find.Reset();
        find.Bind(1, id);
        if (find.Row())
            records.push_back({ std::string(find.Bytes(0)), std::string(find.Bytes(1)), static_cast<int>(find.Int(2)),
                                SharedText(std::string(find.Bytes(3))) });
    }
    return records;
}

int64_t HistoryStore::Collections()
{
    Statement count(m_pDb, "SELECT value FROM counts WHERE name = 'collections'");
    return count.Row() ? count.Int(0) : 0;
}

uint64_t HistoryStore::SizeOnDisk()
{
    FileProblem ignored;
    if (!Open(ignored))
        return 0;
    Statement pages(m_pDb, "SELECT (page_count - freelist_count) * page_size FROM pragma_page_count, pragma_freelist_count, pragma_page_size");
    return pages.Row() ? static_cast<uint64_t>(pages.Int(0)) : 0;
}

void HistoryStore::Thin(const std::string& notebook, int64_t now)
{
    const std::vector<int64_t> dropped = ThinnedOut(List(notebook), now);
    if (!dropped.empty())
        DropVersions(dropped);
}

void HistoryStore::DropVersions(const std::vector<int64_t>& ids)
{
    if (!Exec(m_pDb, "BEGIN IMMEDIATE"))
        return;
    Statement drop(m_pDb, "DELETE FROM versions WHERE id = ?");
    for (const int64_t id : ids) {
        drop.Reset();
        drop.Bind(1, id).Run();
    }
    Statement count(m_pDb, "INSERT INTO counts (name, value) VALUES ('dropped', ?) "
                           "ON CONFLICT (name) DO UPDATE SET value = value + excluded.value RETURNING value");
    count.Bind(1, int64_t(ids.size()));
    const bool bCollect = count.Row() && count.Int(0) >= kGarbageRun;
    count.Reset();
    if (!Exec(m_pDb, "COMMIT")) {
        Exec(m_pDb, "ROLLBACK");
        return;
    }
    if (bCollect)
        CollectGarbage();
}

void HistoryStore::CollectGarbage()
{
    if (!Exec(m_pDb, "BEGIN IMMEDIATE"))
        return;
    bool bOk = Exec(m_pDb, "CREATE TEMP TABLE IF NOT EXISTS used (id INTEGER PRIMARY KEY); DELETE FROM used;");
    {
        Statement versions(m_pDb, "SELECT records FROM versions");
        Statement use(m_pDb, "INSERT OR IGNORE INTO used (id) VALUES (?)");
        while (bOk && versions.Row()) {
            for (const int64_t id : UnpackIds(versions.Bytes(0))) {
                use.Reset();
                bOk = use.Bind(1, id).Run() && bOk;
            }
        }
    }
    bOk = bOk && Exec(m_pDb, "DELETE FROM records WHERE id NOT IN (SELECT id FROM used);"
                             "DELETE FROM texts WHERE id NOT IN (SELECT text FROM records);"
                             "DELETE FROM used; UPDATE counts SET value = 0 WHERE name = 'dropped';"
                             "INSERT INTO counts (name, value) VALUES ('collections', 1) "
                             "ON CONFLICT (name) DO UPDATE SET value = value + 1;");
    if (!bOk || !Exec(m_pDb, "COMMIT")) {
        Exec(m_pDb, "ROLLBACK");
        return;
    }
    m_pCache.reset();
    Exec(m_pDb, "PRAGMA incremental_vacuum; PRAGMA wal_checkpoint(TRUNCATE);");
}

uint64_t HistoryStore::StoredMaxBytes()
{
    Statement limit(Prepared("SELECT value FROM settings WHERE name = 'max bytes'"));
    const int64_t value = limit.Row() ? limit.Int(0) : 0;
    return value > 0 ? static_cast<uint64_t>(value) : kDefaultMaxBytes;
}

std::optional<uint64_t> HistoryStore::MaxBytes(FileProblem& problem)
{
    if (!Open(problem))
        return std::nullopt;
    return StoredMaxBytes();
}

bool HistoryStore::SetMaxBytes(uint64_t maxBytes, FileProblem& problem)
{
    if (!Open(problem)) {
        problem.action = FileProblem::Action::SetHistoryLimit;
        return false;
    }
    Statement set(m_pDb, "INSERT INTO settings (name, value) VALUES ('max bytes', ?) "
                         "ON CONFLICT (name) DO UPDATE SET value = excluded.value");
    if (!set.Bind(1, static_cast<int64_t>(maxBytes)).Run()) {
        problem = FileProblem { .action = FileProblem::Action::SetHistoryLimit, .kind = FileProblem::Kind::Failure,
                                .path = m_strDir, .detail = sqlite3_errmsg(m_pDb) };
        return false;
    }
    Bound();
    return true;
}

void HistoryStore::Bound()
{
    // Read each time: another Quillbox may have set it since.
    const uint64_t maxBytes = StoredMaxBytes();
    while (SizeOnDisk() > maxBytes) {
        // The oldest versions but each notebook's newest, a tenth of them at a time.
        std::vector<int64_t> oldest;
        {
            Statement find(m_pDb, "SELECT id FROM versions AS v WHERE EXISTS (SELECT 1 FROM versions AS w WHERE w.notebook = "
                                  "v.notebook AND (w.time > v.time OR (w.time = v.time AND w.id > v.id))) ORDER BY time, id");
            while (find.Row())
                oldest.push_back(find.Int(0));
        }
        if (oldest.empty())
            return;
        oldest.resize(std::max<size_t>(1, oldest.size() / 10));
        DropVersions(oldest);
        CollectGarbage();
    }
}
