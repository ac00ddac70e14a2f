#include "TestHooks.h"
#include "tessik_test.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace {

struct Controls {
    bool logOn = false;
    std::vector<std::string> log;
    std::map<const void*, int> gStatuses;
    std::map<const void*, int> dStatuses;
    bool dragForced = false;
    int dragResult = 0;
    bool failManagerAllocation = false;
    std::map<const void*, std::array<double, 16>> gChanges;
};

Controls& Get()
{
    static Controls s_controls;
    return s_controls;
}

bool Lookup(const std::map<const void*, int>& forced, const void* app, int& status)
{
    auto it = forced.find(app);
    if (it == forced.end())
        return false;
    status = it->second;
    return true;
}

}  // namespace

namespace tessik {

void LogCall(const char* name)
{
    if (Get().logOn)
        Get().log.emplace_back(name);
}

bool ForcedGStatus(const void* app, int& status) { return Lookup(Get().gStatuses, app, status); }
bool ForcedDStatus(const void* app, int& status) { return Lookup(Get().dStatuses, app, status); }

void UseUpForcedStatuses()
{
    Get().gStatuses.clear();
    Get().dStatuses.clear();
}

bool TakeForcedDragResult(int& result)
{
    if (!Get().dragForced)
        return false;
    Get().dragForced = false;
    result = Get().dragResult;
    return true;
}

bool ForcedGChange(const void* app, double matrix[4][4])
{
    auto it = Get().gChanges.find(app);
    if (it == Get().gChanges.end())
        return false;
    std::memcpy(matrix, it->second.data(), sizeof(double) * 16);
    return true;
}

bool TakeFailedManagerAllocation()
{
    const bool fail = Get().failManagerAllocation;
    Get().failManagerAllocation = false;
    return fail;
}

}  // namespace tessik

namespace tessik_test {

void FailNextManagerAllocation() { Get().failManagerAllocation = true; }

void EnableCallLog(bool on) { Get().logOn = on; }
void ClearCallLog() { Get().log.clear(); }
std::vector<std::string> CallLog() { return Get().log; }
int CallCount(const std::string& name)
{
    return static_cast<int>(std::count(Get().log.begin(), Get().log.end(), name));
}
void ForceGNodeStatus(const void* app, int status) { Get().gStatuses[app] = status; }
void ForceDNodeStatus(const void* app, int status) { Get().dStatuses[app] = status; }
void ForceGNodeChange(const void* app, const double matrix[4][4])
{
    std::memcpy(Get().gChanges[app].data(), matrix, sizeof(double) * 16);
}
void ForceDragResult(int result)
{
    Get().dragForced = true;
    Get().dragResult = result;
}
void ResetControls()
{
    Get().log.clear();
    Get().gStatuses.clear();
    Get().dStatuses.clear();
    Get().dragForced = false;
    Get().failManagerAllocation = false;
    Get().gChanges.clear();
}

}  // namespace tessik_test
