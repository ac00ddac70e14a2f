#include "TestControl.h"

#include "os_test.h"

namespace os {
namespace detail {

int g_abortTimerDelay = 5000;
bool g_queriesFail = false;

}  // namespace detail

namespace test {

int GetAbortTimerDelay() { return detail::g_abortTimerDelay; }
void SetAbortTimerDelay(int milliseconds) { detail::g_abortTimerDelay = milliseconds; }
void SetQueriesFail(bool fail) { detail::g_queriesFail = fail; }

}  // namespace test
}  // namespace os
