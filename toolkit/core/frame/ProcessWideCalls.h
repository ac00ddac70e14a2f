#pragma once
// The two shapes most process-wide calls share: setting one flag, journalled as a "bool"
// input under its own name, and answering one flag. Each exported call is then one line on
// its own properties.

#include "core/frame/ApiArguments.h"
#include "core/frame/ApiCall.h"

#include <functional>

namespace QEL {

inline void RunSetFlagCall(const ApiCallProperties& call, bool value, const char* name,
                           const std::function<void(bool)>& set, ResultType* result)
{
    ProcessCall(call, result, BoolArg(value, name)).Run([&set](Interaction*, ResultType&, bool to) {
        set(to);
    });
}

inline bool RunGetFlagCall(const ApiCallProperties& call, const std::function<bool()>& get,
                           ResultType* result)
{
    return ProcessCall<bool>(call, result).Run([&get](Interaction*, ResultType&) { return get(); });
}

}  // namespace QEL
