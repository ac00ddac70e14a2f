// The add-on's debug report: while a report runs, every add-on call writes one record of
// its name and arguments into the report file.
#pragma once

#include <string>

namespace hxr {

// True while a report runs.
bool DebugReportRunning();
// Appends one call record (name and a line of argument text) to the running report;
// nothing when no report runs.
void DebugReportCall(const char* name, const std::string& arguments);

}  // namespace hxr
