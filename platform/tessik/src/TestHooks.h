// What the test-control header sets, as the engine reads it.
#pragma once

namespace tessik {

void LogCall(const char* name);
bool ForcedGStatus(const void* app, int& status);
bool ForcedDStatus(const void* app, int& status);
void UseUpForcedStatuses();
bool TakeForcedDragResult(int& result);
bool TakeFailedManagerAllocation();

}  // namespace tessik
