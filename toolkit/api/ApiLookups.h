#pragma once
// The object an exported call's effect looks up by tag. With checks off a tag the checks would
// have refused reaches the effect; the call then ends with ResultTypeBadArgument instead of
// following it.

#include "core/enums/Enums.h"

namespace QEL {

template <typename T>
T* FoundOrRefuse(T* found, ResultType& status)
{
    if (!found)
        status = ResultTypeBadArgument;
    return found;
}

}  // namespace QEL
