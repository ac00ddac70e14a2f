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

// Makes the call as the probe does, but with number for every enumeration argument; answers
// false, without making the call, when the call takes no enumeration.
typedef bool (*ApiCallEnumProbe)(int interactionTag, ResultType* result, int number);

struct ApiCallEntry {
    const ApiCallProperties* properties;
    ApiCallProbe probe;
    ApiCallEnumProbe enumProbe;
};

// Every registered call, ordered by name.
std::vector<ApiCallEntry> GetApiCalls();
// Null when no call has the name.
const ApiCallEntry* FindApiCall(const char* name);
// Always true, so a registration can initialise a static flag.
bool RegisterApiCall(const ApiCallProperties& properties, ApiCallProbe probe,
                     ApiCallEnumProbe enumProbe);

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

// An application may pass any number for an enumeration: the probe passes enumNumber as it is.
template <std::size_t I, std::size_t Count, typename P>
P ApiProbeValue(int interactionTag, ResultType* result, bool takesTag, int enumNumber = 0)
{
    if constexpr (I + 1 == Count) {
        static_assert(std::is_same<P, ResultType*>::value, "an exported call ends in ResultType*");
        return result;
    } else if constexpr (I == 0 && std::is_same<P, int>::value) {
        return takesTag ? interactionTag : 0;
    } else if constexpr (std::is_enum<P>::value) {
        return static_cast<P>(enumNumber);
    } else {
        return ApiProbeArgument<P>::Get();
    }
}

// Start is the call's start value when it has one other than 0, false or null.
template <auto... Start, typename R, typename... P, std::size_t... I>
bool ProbeApiCallWith(R (*function)(P...), int interactionTag, ResultType* result, bool takesTag,
                      int enumNumber, std::index_sequence<I...>)
{
    constexpr std::size_t count = sizeof...(P);
    if constexpr (std::is_void<R>::value) {
        function(ApiProbeValue<I, count, P>(interactionTag, result, takesTag, enumNumber)...);
        return true;
    } else {
        return function(ApiProbeValue<I, count, P>(interactionTag, result, takesTag,
                                                   enumNumber)...) == R(Start...);
    }
}

template <auto... Start, typename R, typename... P>
bool ProbeApiCallOf(R (*function)(P...), int interactionTag, ResultType* result, bool takesTag,
                    int enumNumber)
{
    return ProbeApiCallWith<Start...>(function, interactionTag, result, takesTag, enumNumber,
                                      std::index_sequence_for<P...>{});
}

template <auto Function, const ApiCallProperties& Properties, auto... Start>
bool ProbeApiCall(int interactionTag, ResultType* result)
{
    return ProbeApiCallOf<Start...>(Function, interactionTag, result, Properties.NeedsInteraction(),
                                    0);
}

template <typename R, typename... P>
constexpr bool TakesEnumeration(R (*)(P...))
{
    return (std::is_enum<P>::value || ...);
}

template <auto Function, const ApiCallProperties& Properties, auto... Start>
bool ProbeApiCallWithEnumeration(int interactionTag, ResultType* result, int number)
{
    if constexpr (!TakesEnumeration(Function))
        return false;
    else
        return ProbeApiCallOf<Start...>(Function, interactionTag, result,
                                        Properties.NeedsInteraction(), number);
}

}  // namespace QEL

#define QEL_API_CALL_NAMED_TAG(Function, flags, tagName)                                  \
    static constexpr ::QEL::ApiCallProperties s_##Function{#Function, (flags), tagName};  \
    [[maybe_unused]] static const bool s_##Function##Registered = ::QEL::RegisterApiCall( \
        s_##Function, &::QEL::ProbeApiCall<&::QEL::Function, s_##Function>,               \
        &::QEL::ProbeApiCallWithEnumeration<&::QEL::Function, s_##Function>)

#define QEL_API_CALL(Function, flags) QEL_API_CALL_NAMED_TAG(Function, flags, "interaction")

// A call that journal replay can make again. The replay sits above the core, so the core's
// row only marks the call; its adapter is registered by the layer that can see the replay
// (the replay itself for the core's calls, the API's own row for the API's calls).
#define QEL_API_REPLAYABLE_CALL(Function, flags) \
    QEL_API_CALL(Function, (flags) | ::QEL::ApiCallReplayable)

// A call that returns start, not 0 or false, when it stops before its effect; the call hands
// s_<name>Start to its frame.
#define QEL_API_CALL_STARTING_AT(Function, flags, start)                                         \
    static constexpr auto s_##Function##Start = (start);                                         \
    static constexpr ::QEL::ApiCallProperties s_##Function{#Function, (flags), "interaction"};   \
    [[maybe_unused]] static const bool s_##Function##Registered = ::QEL::RegisterApiCall(        \
        s_##Function, &::QEL::ProbeApiCall<&::QEL::Function, s_##Function, s_##Function##Start>, \
        &::QEL::ProbeApiCallWithEnumeration<&::QEL::Function, s_##Function, s_##Function##Start>)

#define QEL_API_REPLAYABLE_CALL_STARTING_AT(Function, flags, start) \
    QEL_API_CALL_STARTING_AT(Function, (flags) | ::QEL::ApiCallReplayable, start)
