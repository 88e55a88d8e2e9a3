#pragma once

#include <chrono>
#include <functional>
#include <utility>

// A single-shot timer of the window's thread: what it runs comes on that thread, between events.
class Timer
{
public:
    virtual ~Timer() = default;
    // Runs `fire` once after `delay`; starting again puts off the time, with the newest `fire`.
    virtual void Start(std::chrono::milliseconds delay, std::function<void()> fire) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
};

// A timer that fires when told, for headless programs and tests.
class ManualTimer : public Timer
{
public:
    void Start(std::chrono::milliseconds delay, std::function<void()> fire) override
    {
        m_delay = delay;
        m_fire = std::move(fire);
    }
    void Stop() override { m_fire = nullptr; }
    bool IsActive() const override { return static_cast<bool>(m_fire); }

    // The delay of the last start.
    std::chrono::milliseconds Delay() const { return m_delay; }
    // As if the time had come; false when the timer was not running.
    bool Fire()
    {
        if (!m_fire)
            return false;
        std::function<void()> fire = std::move(m_fire);
        m_fire = nullptr;
        fire();
        return true;
    }

private:
    std::chrono::milliseconds m_delay {};
    std::function<void()> m_fire;
};
