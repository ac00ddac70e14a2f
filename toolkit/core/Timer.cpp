#include "core/Timer.h"

#include <os.h>

#include <cstdint>

namespace QEL {

namespace {

// Kept whole: a frequency above 2^32 ticks per second must not be cut to its low half.
std::int64_t s_frequency = 1;
std::int64_t s_baseTick = 0;
bool s_firstUse = true;

}  // namespace

double GetTicksSinceBase()
{
    return static_cast<double>(os::QueryPerformanceCounter() - s_baseTick);
}

Timer::Timer()
{
    if (s_firstUse) {
        s_frequency = os::QueryPerformanceFrequency();
        s_baseTick = os::QueryPerformanceCounter();
        s_firstUse = false;
    }
    m_start = GetTicksSinceBase();
}

double Timer::GetElapsedSeconds() const
{
    return (GetTicksSinceBase() - m_start) / static_cast<double>(s_frequency);
}

}  // namespace QEL
