#pragma once

#include <ctime>

// Local date and time of now; a note header reads it once per header.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::tm Now() const = 0;
};

// The machine's local clock.
class SystemClock : public Clock
{
public:
    std::tm Now() const override;
};

// A clock that always reads the same moment, for tests and reproducible output.
class FixedClock : public Clock
{
public:
    FixedClock(int year, int month, int day, int hour = 0, int minute = 0);
    std::tm Now() const override { return m_now; }

private:
    std::tm m_now {};
};
