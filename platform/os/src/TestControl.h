#pragma once
// State shared by the layer and its test controls.

namespace os {
namespace detail {

extern int g_abortTimerDelay;   // milliseconds
extern bool g_queriesFail;

}  // namespace detail
}  // namespace os
