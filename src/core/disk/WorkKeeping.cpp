#include "disk/WorkKeeping.h"

#include <algorithm>

#include "disk/UnsavedWork.h"
#include "format/NotebookWriter.h"

WorkKeeping::WorkKeeping(RecoveryStore store, VersionStore versions)
    : m_store(std::move(store))
    , m_versions(std::move(versions))
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

void WorkKeeping::KeepVersion(const std::string& path, NotebookSnapshot snapshot)
{
    // The texts are shared, never changed, so the writer's thread may write them.
    m_writer.Post([this, path, snapshot = std::move(snapshot)] {
        FileProblem ignored;
        m_versions.Keep(path, [&snapshot](const ChunkSink& sink) { return WriteNotebook(snapshot, sink); }, ignored);
    });
}

std::optional<std::string> WorkKeeping::KeptVersion(const std::string& path)
{
    m_writer.Drain();
    return m_versions.Kept(path);
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
