#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// One thread that runs the jobs given to it one at a time, in the order given: the writes and
// removals of kept work and kept versions, so that a removal never overtakes a write. Whoever
// reads what the jobs write drains it first.
class BackgroundWriter
{
public:
    BackgroundWriter();
    // Runs what is still queued, then ends the thread.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // The job runs on the writer's thread. It must not throw: a job that cannot do its work
    // says so through what it writes to.
    void Post(std::function<void()> job);
    // Returns once every job posted before the call has run.
    void Drain();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_jobs;
    bool m_bBusy = false;
    bool m_bEnding = false;
    std::thread m_thread;
};
