#pragma once
// The table of exported calls. Each call declares itself beside its definition:
//
//   QEL_API_CALL(OptionGetAdaptiveLiftMode, ApiCallQuery);
//   QEL_API_REPLAYABLE_CALL(OptionSetAdaptiveLiftMode, 0);
//
// which defines the call's properties as s_<name> (handed to its ApiCall) and enters the call
// in the table while the library loads, together with a probe that makes the call with a
// chosen interaction tag and a neutral value for every other argument. Checks that must hold
// for every exported call walk this table, so a new call is covered the moment it exists.

#include "core/frame/ApiCall.h"

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace QEL {

// Makes the call once: the interaction tag goes to its first argument when the call takes one,
// result to its last, and every other argument is 0, false, null or an empty value. Answers
// whether the call returned what it returns on failure (0, false or null).
typedef bool (*ApiCallProbe)(int interactionTag, ResultType* result);

struct ApiCallEntry {
    const ApiCallProperties* properties;
    ApiCallProbe probe;
};

// Every registered call, ordered by name.
std::vector<ApiCallEntry> GetApiCalls();
// Null when no call has the name.
const ApiCallEntry* FindApiCall(const char* name);
// Always true, so a registration can initialise a static flag.
bool RegisterApiCall(const ApiCallProperties& properties, ApiCallProbe probe);

// The neutral value of one argument type.
template <typename P, typename Enable = void>
struct ApiProbeArgument {
    static P Get() { return P(); }
};
template <typename T>
struct ApiProbeArgument<T&> {
    static T& Get()
    {
        static std::remove_const_t<T> s_value{};
        return s_value;
    }
};

template <std::size_t I, std::size_t Count, typename P>
P ApiProbeValue(int interactionTag, ResultType* result, bool takesTag)
{
    if constexpr (I + 1 == Count) {
        static_assert(std::is_same<P, ResultType*>::value, "an exported call ends in ResultType*");
        return result;
    } else if constexpr (I == 0 && std::is_same<P, int>::value) {
        return takesTag ? interactionTag : 0;
    } else {
        return ApiProbeArgument<P>::Get();
    }
}

template <typename R, typename... P, std::size_t... I>
bool ProbeApiCallWith(R (*function)(P...), int interactionTag, ResultType* result, bool takesTag,
                      std::index_sequence<I...>)
{
    constexpr std::size_t count = sizeof...(P);
    if constexpr (std::is_void<R>::value) {
        function(ApiProbeValue<I, count, P>(interactionTag, result, takesTag)...);
        return true;
    } else {
        return function(ApiProbeValue<I, count, P>(interactionTag, result, takesTag)...) == R();
    }
}

template <typename R, typename... P>
bool ProbeApiCallOf(R (*function)(P...), int interactionTag, ResultType* result, bool takesTag)
{
    return ProbeApiCallWith(function, interactionTag, result, takesTag,
                            std::index_sequence_for<P...>{});
}

template <auto Function, const ApiCallProperties& Properties>
bool ProbeApiCall(int interactionTag, ResultType* result)
{
    return ProbeApiCallOf(Function, interactionTag, result, Properties.NeedsInteraction());
}

}  // namespace QEL

#define QEL_API_CALL_NAMED_TAG(Function, flags, tagName)                                     \
    static constexpr ::QEL::ApiCallProperties s_##Function{#Function, (flags), tagName};     \
    [[maybe_unused]] static const bool s_##Function##Registered = ::QEL::RegisterApiCall(    \
        s_##Function, &::QEL::ProbeApiCall<&::QEL::Function, s_##Function>)

#define QEL_API_CALL(Function, flags) QEL_API_CALL_NAMED_TAG(Function, flags, "interaction")

// A call that journal replay can make again. The replay sits above the core, so the core's
// row only marks the call; its adapter is registered by the layer that can see the replay
// (the replay itself for the core's calls, the API's own row for the API's calls).
#define QEL_API_REPLAYABLE_CALL(Function, flags)                                              \
    QEL_API_CALL(Function, (flags) | ::QEL::ApiCallReplayable)
