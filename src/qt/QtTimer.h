#pragma once

#include <QTimer>

#include "platform/Timer.h"

// The core's single-shot timer on a QTimer of the window's thread.
class QtTimer : public Timer
{
public:
    QtTimer()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (m_fire)
                m_fire();
        });
    }

    void Start(std::chrono::milliseconds delay, std::function<void()> fire) override
    {
        m_fire = std::move(fire);
        m_timer.start(delay);
    }
    void Stop() override { m_timer.stop(); }
    bool IsActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_fire;
};
