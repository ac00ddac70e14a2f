// The add-on session's version and report channel.
#include "hxr.h"

int HXR_SESSION_ask_version(int* major, int* minor, int* build) {
  if (major == nullptr || minor == nullptr || build == nullptr) return HXR_ERROR_bad_argument;
  *major = hxr_layer_version::kMajor;
  *minor = hxr_layer_version::kMinor;
  *build = hxr_layer_version::kBuild;
  return HXR_ERROR_none;
}

int HXR_REPORT_identify(int* channel) {
  if (channel == nullptr) return HXR_ERROR_bad_argument;
  *channel = -1;  // reports go to files, not to a channel
  return HXR_ERROR_none;
}
