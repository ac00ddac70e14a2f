#include "replay/ReplayRegistry.h"

#include <utility>

namespace QEL {

ReplayFunctionRegistry& GetReplayFunctionRegistry()
{
    static ReplayFunctionRegistry s_registry;
    return s_registry;
}

bool RegisterReplayFunction(const char* name, ReplayAdapter adapter)
{
    if (name == nullptr || adapter == nullptr)
        return true;
    GetReplayFunctionRegistry()[name] = adapter;
    return true;
}

bool CallReplayFunction(const std::string& name, std::vector<ReplayValue>& arguments,
                        ReplayValue* returnValue)
{
    const ReplayFunctionRegistry& registry = GetReplayFunctionRegistry();
    auto found = registry.find(name);
    if (found == registry.end())
        return false;
    return found->second(arguments, returnValue);
}

namespace {

std::map<std::string, std::pair<int, ReplayRecordedOutputs>>& GetRecordedOutputsRegistry()
{
    static std::map<std::string, std::pair<int, ReplayRecordedOutputs>> s_outputs;
    return s_outputs;
}

}  // namespace

bool RegisterReplayRecordedOutputs(const char* name, int count, ReplayRecordedOutputs remake)
{
    if (name == nullptr || remake == nullptr || count <= 0)
        return true;
    GetRecordedOutputsRegistry()[name] = {count, remake};
    return true;
}

int GetReplayRecordedOutputs(const std::string& name, ReplayRecordedOutputs* remake)
{
    const auto& registry = GetRecordedOutputsRegistry();
    auto found = registry.find(name);
    if (found == registry.end())
        return 0;
    if (remake)
        *remake = found->second.second;
    return found->second.first;
}

}  // namespace QEL
