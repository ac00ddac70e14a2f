// Timing helpers of the frame and journal benchmarks: the processor time of the measuring
// thread (its system calls included), so that a loaded machine taking the processor away
// counts against neither side of a comparison.
#pragma once

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <vector>

inline double ThreadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) * 1e-3;
}

// The processor time of the whole process: every thread's, helpers of the measured code too.
inline double ProcessMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) * 1e-3;
}

// Page faults the measuring thread has taken so far.
inline long ThreadPageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

template <typename Call>
double MicrosecondsPerCall(int calls, Call call)
{
    const double start = ThreadMicroseconds();
    for (int i = 0; i < calls; ++i)
        call(i);
    return (ThreadMicroseconds() - start) / calls;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
