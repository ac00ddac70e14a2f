#include "TestControl.h"

#include "os_test.h"

namespace os {
namespace detail {

int g_abortTimerDelay = 5000;
bool g_queriesFail = false;
std::atomic<long> g_signalSetupCount{0};

}  // namespace detail

namespace test {

int GetAbortTimerDelay() { return detail::g_abortTimerDelay; }
void SetAbortTimerDelay(int milliseconds) { detail::g_abortTimerDelay = milliseconds; }
void SetQueriesFail(bool fail) { detail::g_queriesFail = fail; }
long GetSignalSetupCount() { return detail::g_signalSetupCount.load(); }

}  // namespace test
}  // namespace os
