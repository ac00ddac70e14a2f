#include "replay/ReplayRegistry.h"

namespace QEL {

ReplayFunctionRegistry& GetReplayFunctionRegistry()
{
  static ReplayFunctionRegistry s_registry;
  return s_registry;
}

bool RegisterReplayFunction(const char* name, ReplayAdapter adapter)
{
  if (name == nullptr || adapter == nullptr) return true;
  GetReplayFunctionRegistry()[name] = adapter;
  return true;
}

bool CallReplayFunction(const std::string& name, std::vector<ReplayValue>& arguments, ReplayValue* returnValue)
{
  const ReplayFunctionRegistry& registry = GetReplayFunctionRegistry();
  auto found = registry.find(name);
  if (found == registry.end()) return false;
  return found->second(arguments, returnValue);
}

}  // namespace QEL
