#include "storage/BackgroundWriter.h"

BackgroundWriter::BackgroundWriter()
    : m_thread([this] { Run(); })
{
}

BackgroundWriter::~BackgroundWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_bEnding = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BackgroundWriter::Post(std::function<void()> job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_changed.notify_all();
}

void BackgroundWriter::Drain()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_jobs.empty() && !m_bBusy; });
}

void BackgroundWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_jobs.empty() || m_bEnding; });
        if (m_jobs.empty())
            return;
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_bBusy = true;
        lock.unlock();
        job();
        lock.lock();
        m_bBusy = false;
        m_changed.notify_all();
    }
}
