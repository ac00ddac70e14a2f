#include "core/support/Timer.h"

#include <os.h>

#include <cstdint>
#include <utility>

namespace QEL {

namespace {

// Kept whole: a frequency above 2^32 ticks per second must not be cut to its low half.
std::int64_t s_frequency = 1;
std::int64_t s_baseTick = 0;
bool s_firstUse = true;
// Seconds spent in timed callbacks, summed over the process.
double s_timedTotal = 0.0;

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

void Timer::AddElapsedToTotal() const { s_timedTotal += GetElapsedSeconds(); }

double Timer::GetTotal() { return s_timedTotal; }

ScopedTimer::ScopedTimer(int category, std::string label)
    : m_category(category), m_label(std::move(label)), m_stopTick(0.0), m_totalAtStart(s_timedTotal)
{
    // A timer first, so that the counter's base is fixed before the start tick is read.
    const Timer base;
    (void)base;
    m_startTick = GetTicksSinceBase();
}

void ScopedTimer::Stop() { m_stopTick = GetTicksSinceBase(); }

}  // namespace QEL
