// The process-wide map from an exported call's exact name to the adapter that performs
// that call again from recorded values. Filled by static registration while the library
// loads; read-only afterwards.
#pragma once

#include "core/frame/QelExport.h"
#include "replay/ReplayValue.h"

#include <map>
#include <string>
#include <vector>

namespace QEL {

// Replays one exported call: takes typed values out of the argument list, calls the
// function, and leaves its outputs in the list and its return value in *returnValue.
// True when the call was made. Throws std::invalid_argument for a recorded list that
// does not fit the function.
typedef bool (*ReplayAdapter)(std::vector<ReplayValue>& arguments, ReplayValue* returnValue);

typedef std::map<std::string, ReplayAdapter> ReplayFunctionRegistry;

// The registry, made by the first call (the first registration, whichever source file's
// static initialisation runs first) and destroyed at unload.
ReplayFunctionRegistry& GetReplayFunctionRegistry();

// Stores the adapter under the exact name, replacing an earlier one; always true, so that
// a registration can initialise a static flag.
QEL_API bool RegisterReplayFunction(const char* name, ReplayAdapter adapter);

// Calls the adapter registered under exactly this name (case-sensitive, no prefix or
// alias match). False, with the list and the return value untouched, when there is none;
// otherwise what the adapter returns. The adapter's std::invalid_argument passes through.
QEL_API bool CallReplayFunction(const std::string& name, std::vector<ReplayValue>& arguments,
                                ReplayValue* returnValue);

// Some calls journal, after the call, values that are none of their parameters (the relations a
// find made). A replay makes the call without them and then remakes them from the interaction
// the call ran on, in recorded order, to compare with the record.
typedef void (*ReplayRecordedOutputs)(int interaction, std::vector<ReplayValue>& outputs);

// Stores how many such values the call journals (last before its result) and how they are
// remade; always true, as a registration.
QEL_API bool RegisterReplayRecordedOutputs(const char* name, int count,
                                           ReplayRecordedOutputs remake);
// The count for exactly this name, 0 for a call that journals none; remake is set with it.
QEL_API int GetReplayRecordedOutputs(const std::string& name, ReplayRecordedOutputs* remake);

}  // namespace QEL
