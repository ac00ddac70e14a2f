#pragma once
// The two shapes most process-wide calls share: setting one flag, journalled as a "bool"
// input under its own name, and answering one flag. Each exported call is then one line on
// its own properties.

#include "core/frame/ApiCall.h"

#include <functional>

namespace QEL {

inline void RunSetFlagCall(const ApiCallProperties& call, bool value, const char* name,
                           const std::function<void(bool)>& set, ResultType* result)
{
    ApiCall<>(call, result)
        .Inputs([value, name](JournalArguments& journal) { journal.WriteJournalArgBool(value, name); })
        .Run([value, &set](Interaction*, ResultType&) { set(value); });
}

inline bool RunGetFlagCall(const ApiCallProperties& call, const std::function<bool()>& get,
                           ResultType* result)
{
    return ApiCall<bool>(call, result).Run([&get](Interaction*, ResultType&) { return get(); });
}

}  // namespace QEL
