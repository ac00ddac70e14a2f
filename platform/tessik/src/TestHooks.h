// What the test-control header sets, as the engine reads it.
#pragma once

namespace tessik {

void LogCall(const char* name);
bool ForcedGStatus(const void* app, int& status);
bool ForcedDStatus(const void* app, int& status);
void UseUpForcedStatuses();
bool TakeForcedDragResult(int& result);
// True with the forced rigid change of the node, when one is set.
bool ForcedGChange(const void* app, double matrix[4][4]);
bool TakeFailedManagerAllocation();

}  // namespace tessik
