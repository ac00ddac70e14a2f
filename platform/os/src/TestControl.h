#pragma once
// State shared by the layer and its test controls.

#include <atomic>

namespace os {
namespace detail {

extern int g_abortTimerDelay;   // milliseconds
extern bool g_queriesFail;
extern std::atomic<long> g_signalSetupCount;

}  // namespace detail
}  // namespace os
