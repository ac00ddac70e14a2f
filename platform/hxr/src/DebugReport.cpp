// Starting, writing and stopping the debug report file.
#include "DebugReport.h"

#include "hxr.h"

#include <cstdio>
#include <memory>

namespace hxr {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file != nullptr) std::fclose(file);
  }
};

std::unique_ptr<std::FILE, FileCloser> s_report;

// Attribute text with the characters XML reserves escaped.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

void Close() {
  if (!s_report) return;
  std::fputs("</HXRReport>\n", s_report.get());
  s_report.reset();
}

}  // namespace

bool DebugReportRunning() { return s_report != nullptr; }

void DebugReportCall(const char* name, const std::string& arguments) {
  if (!s_report) return;
  std::fprintf(s_report.get(), "  <Call name=\"%s\" arguments=\"%s\"/>\n", Escaped(name).c_str(),
               Escaped(arguments).c_str());
  std::fflush(s_report.get());
}

}  // namespace hxr

int HXR_DEBUG_report_start(const char* file_name, const HXR_DEBUG_report_start_o_s* options) {
  if (file_name == nullptr || file_name[0] == '\0' || (options != nullptr && options->version != 1)) {
    return HXR_ERROR_bad_argument;
  }
  // A report still running is finished first: one report file at a time.
  hxr::Close();
  std::FILE* file = std::fopen(file_name, "w");
  if (file == nullptr) return HXR_ERROR_bad_argument;
  hxr::s_report.reset(file);
  std::fprintf(file, "<?xml version=\"1.0\"?>\n<HXRReport version=\"%d.%d.%d\">\n",
               hxr_layer_version::kMajor, hxr_layer_version::kMinor, hxr_layer_version::kBuild);
  std::fflush(file);
  return HXR_ERROR_none;
}

int HXR_DEBUG_report_stop(const HXR_DEBUG_report_stop_o_s* options) {
  if (options != nullptr && options->version != 1) return HXR_ERROR_bad_argument;
  hxr::Close();
  return HXR_ERROR_none;
}
