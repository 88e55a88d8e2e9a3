#include "platform/Clock.h"

std::tm SystemClock::Now() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

FixedClock::FixedClock(int year, int month, int day, int hour, int minute)
{
    m_now.tm_year = year - 1900;
    m_now.tm_mon = month - 1;
    m_now.tm_mday = day;
    m_now.tm_hour = hour;
    m_now.tm_min = minute;
    m_now.tm_isdst = -1;
    std::mktime(&m_now); // fills in the weekday and day of the year
}
