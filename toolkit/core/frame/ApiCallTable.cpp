#include "core/frame/ApiCallTable.h"

#include <cstring>
#include <map>
#include <string>

namespace QEL {
namespace {

std::map<std::string, ApiCallEntry>& Table()
{
    static std::map<std::string, ApiCallEntry> s_table;
    return s_table;
}

}  // namespace

std::vector<ApiCallEntry> GetApiCalls()
{
    std::vector<ApiCallEntry> calls;
    for (const auto& entry : Table())
        calls.push_back(entry.second);
    return calls;
}

const ApiCallEntry* FindApiCall(const char* name)
{
    if (!name)
        return nullptr;
    auto found = Table().find(name);
    return found == Table().end() ? nullptr : &found->second;
}

bool RegisterApiCall(const ApiCallProperties& properties, ApiCallProbe probe,
                     ApiCallEnumProbe enumProbe)
{
    Table()[properties.name] = ApiCallEntry{&properties, probe, enumProbe};
    return true;
}

}  // namespace QEL
