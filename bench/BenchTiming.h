// Timing helpers of the benchmarks: mostly the processor time of the measuring thread (its
// system calls included), so that a loaded machine taking the processor away counts against
// neither side of a comparison.
#pragma once

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

inline double ThreadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) * 1e-3;
}

inline double ThreadMilliseconds() { return ThreadMicroseconds() * 1e-3; }
inline double ThreadSeconds() { return ThreadMicroseconds() * 1e-6; }

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

// The wall-clock time of one run, in milliseconds.
template <typename Run>
double WallMilliseconds(Run run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// The least-squares slope of log(time) over log(size): how a cost grows with the model.
inline double FittedExponent(const std::vector<int>& sizes, const std::vector<double>& times)
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    const double n = static_cast<double>(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const double x = std::log(sizes[i]), y = std::log(times[i]);
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}
