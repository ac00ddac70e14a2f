#include "os.h"

#include <time.h>

namespace os {

namespace {
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
}

std::int64_t QueryPerformanceCounter()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

std::int64_t QueryPerformanceFrequency()
{
    return kNanosecondsPerSecond;
}

}  // namespace os
