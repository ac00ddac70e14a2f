#pragma once
// The row an exported call of the API layer declares itself with. The API sits above the
// replay, so a replayable call's row here also registers its replay adapter under its name
// while the library loads; otherwise the rows are the core's (core/frame/ApiCallTable.h).

#include "core/frame/ApiCallTable.h"
#include "replay/ReplayUnpackers.h"

#undef QEL_API_REPLAYABLE_CALL
#define QEL_API_REPLAYABLE_CALL(Function, flags)                \
    QEL_API_CALL(Function, (flags) | ::QEL::ApiCallReplayable); \
    QEL_REGISTER_REPLAY_FUNCTION(Function)

#undef QEL_API_REPLAYABLE_CALL_STARTING_AT
#define QEL_API_REPLAYABLE_CALL_STARTING_AT(Function, flags, start)                \
    QEL_API_CALL_STARTING_AT(Function, (flags) | ::QEL::ApiCallReplayable, start); \
    QEL_REGISTER_REPLAY_FUNCTION(Function)
