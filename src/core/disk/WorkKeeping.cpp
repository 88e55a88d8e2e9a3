#include "disk/WorkKeeping.h"

#include <algorithm>
#include <chrono>

#include "disk/UnsavedWork.h"

WorkKeeping::WorkKeeping(RecoveryStore store, HistoryStore history)
    : m_store(std::move(store))
    , m_history(std::move(history))
{
}

WorkKeeping::~WorkKeeping()
{
    m_writer.Drain();
}

void WorkKeeping::Wake() const
{
    if (m_wake)
        m_wake();
}

void WorkKeeping::KeepVersion(const std::string& path, NotebookSnapshot snapshot, HistoryKind kind, std::shared_ptr<BaseVersion> pBase)
{
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch());
    // The texts are shared, never changed, so the writer's thread may read them.
    m_writer.Post([this, path, snapshot = std::move(snapshot), kind, pBase = std::move(pBase), now] {
        FileProblem ignored;
        const std::optional<int64_t> id = ::KeepVersion(m_history, path, snapshot, now.count(), kind, ignored);
        if (pBase)
            pBase->id = id.value_or(0);
    });
}

std::optional<NotebookSnapshot> WorkKeeping::CommonVersion(const std::string& path, const NotebookSnapshot& a, const NotebookSnapshot& b)
{
    m_writer.Drain();
    return FindCommonVersion(m_history, path, a, b);
}

std::optional<NotebookSnapshot> WorkKeeping::Version(int64_t id)
{
    m_writer.Drain();
    return LoadVersion(m_history, id);
}

std::vector<VersionChange> WorkKeeping::Log(const std::string& path, const std::string& folderPath)
{
    m_writer.Drain();
    return VersionLog(m_history, path, folderPath);
}

std::optional<int> WorkKeeping::HistoryLimit(FileProblem& problem)
{
    m_writer.Drain();
    return ReadHistoryLimit(m_history, problem);
}

bool WorkKeeping::SetHistoryLimit(int megabytes, FileProblem& problem)
{
    m_writer.Drain();
    return ::SetHistoryLimit(m_history, megabytes, problem);
}

bool WorkKeeping::WriteAll()
{
    bool bAllKept = true;
    for (UnsavedWork* pWork : m_live)
        bAllKept = pWork->WriteNow() && bAllKept;
    return bAllKept;
}

RecoveryOffer WorkKeeping::Offer(Prompts& prompts)
{
    m_writer.Drain();
    return RecoveryOffer(m_store, prompts, [this](const std::string& key) { return IsLive(key); });
}

void WorkKeeping::Add(UnsavedWork* pWork)
{
    m_live.insert(pWork);
}

void WorkKeeping::Remove(UnsavedWork* pWork)
{
    m_live.erase(pWork);
}

bool WorkKeeping::IsLive(const std::string& key) const
{
    return std::any_of(m_live.begin(), m_live.end(), [&key](const UnsavedWork* p) { return p->GetKey() == key; });
}
