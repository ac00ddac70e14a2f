// Turning a list of recorded values into one typed call of an exported function, and the
// registration of that function's adapter under its exact name.
//
// One template serves every signature: each parameter type takes its value from its own
// element of the list through one ReplayValue accessor (ReplayParameter), and each result
// type has one way of being stored (ReplayReturn). An exported call becomes replayable
// with one line in its source file:
//
//   QEL_REGISTER_REPLAY_FUNCTION(OptionSetExactDragging);
//
// which registers, while the library loads, an adapter named after the function that
// replays exactly that function.
#pragma once

#include "core/enums/Enums.h"
#include "core/frame/Array.h"
#include "core/maths/Double4x4.h"
#include "core/maths/Position.h"
#include "replay/ReplayRegistry.h"
#include "replay/ReplayValue.h"

#include <cstddef>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace QEL {

// Throws std::invalid_argument "Unexpected number of arguments" unless the list holds
// exactly expected values.
void CheckReplayArgumentCount(const std::vector<ReplayValue>& arguments, unsigned expected);

// --- Parameter conversions -------------------------------------------------------------------
// A parameter type without a conversion is a compile error at the registration that needs it.

template <typename P, typename Enable = void>
struct ReplayParameter;

// A double[4][4] parameter, as the function type sees it (four rows of four doubles).
typedef double (*ReplayMatrixRows)[4];
typedef const double (*ReplayConstMatrixRows)[4];

#define QEL_REPLAY_PARAMETER(Type, accessor)                              \
    template <>                                                           \
    struct ReplayParameter<Type> {                                        \
        static void Check(ReplayValue& value) { (void)value.accessor(); } \
        static Type Get(ReplayValue& value) { return value.accessor(); }  \
    }

QEL_REPLAY_PARAMETER(int, GetInt);
QEL_REPLAY_PARAMETER(bool, GetBool);
QEL_REPLAY_PARAMETER(double, GetDouble);
QEL_REPLAY_PARAMETER(double*, GetDoublePointer);
QEL_REPLAY_PARAMETER(const double*, GetDoublePointer);
QEL_REPLAY_PARAMETER(ReplayMatrixRows, GetTransform);
QEL_REPLAY_PARAMETER(ReplayConstMatrixRows, GetTransform);
QEL_REPLAY_PARAMETER(int&, GetIntRef);
QEL_REPLAY_PARAMETER(bool&, GetBoolRef);
QEL_REPLAY_PARAMETER(double&, GetDoubleRef);
QEL_REPLAY_PARAMETER(int*, GetIntPointer);
QEL_REPLAY_PARAMETER(bool*, GetBoolPointer);
QEL_REPLAY_PARAMETER(Array<int>&, GetTagArray);
QEL_REPLAY_PARAMETER(const Array<int>&, GetTagArray);
QEL_REPLAY_PARAMETER(Array<int>*, GetTagArrayPointer);
QEL_REPLAY_PARAMETER(Array<Array<int>>&, GetTagArrayArray);
QEL_REPLAY_PARAMETER(const Array<Array<int>>&, GetTagArrayArray);
QEL_REPLAY_PARAMETER(Array<Double4x4>&, GetTransformArray);
QEL_REPLAY_PARAMETER(const Array<Double4x4>&, GetTransformArray);
QEL_REPLAY_PARAMETER(Array<double>&, GetDoubleArray);
QEL_REPLAY_PARAMETER(const Array<double>&, GetDoubleArray);
QEL_REPLAY_PARAMETER(Array<Position>&, GetPositionArray);
QEL_REPLAY_PARAMETER(const Array<Position>&, GetPositionArray);
QEL_REPLAY_PARAMETER(const char*, GetString);
QEL_REPLAY_PARAMETER(ResultType*, GetResultTypePointer);

#undef QEL_REPLAY_PARAMETER

// An application pointer: a journal carries none but null, which is handed on as null.
template <>
struct ReplayParameter<void*> {
    static void Check(ReplayValue& value)
    {
        if (!value.IsNull())
            throw std::invalid_argument("Replay argument not expected type");
    }
    static void* Get(ReplayValue&) { return nullptr; }
};

// Enumerations travel as ints (kind 1). A recorded number that names no value is handed on as
// given, straight into the call, never held in an enumeration object first.
template <typename E>
struct ReplayParameter<E, std::enable_if_t<std::is_enum<E>::value>> {
    static void Check(ReplayValue& value) { value.CheckType(ReplayValueKindInt); }
    static E Get(ReplayValue& value) { return static_cast<E>(value.GetInt()); }
};

// --- Return-value stores ---------------------------------------------------------------------
// Every store but void's starts from an empty value with direction unset and not null, which
// is what the setters do.

template <typename R, typename Enable = void>
struct ReplayReturn;

template <>
struct ReplayReturn<bool> {
    static void Store(ReplayValue& value, bool result) { value.SetBool(result); }
};

template <>
struct ReplayReturn<int> {
    static void Store(ReplayValue& value, int result) { value.SetInt(result); }
};

template <typename E>
struct ReplayReturn<E, std::enable_if_t<std::is_enum<E>::value>> {
    static void Store(ReplayValue& value, E result) { value.SetInt(static_cast<int>(result)); }
};

template <>
struct ReplayReturn<double> {
    static void Store(ReplayValue& value, double result) { value.SetDouble(result); }
};

// A pointer result keeps the first three doubles it designates; a null result is a null
// value of the same kind.
template <>
struct ReplayReturn<double*> {
    static void Store(ReplayValue& value, const double* result)
    {
        value.SetDoubleTriple(result);
        value.SetNull(result == nullptr);
    }
};

template <>
struct ReplayReturn<const char*> {
    static void Store(ReplayValue& value, const char* result)
    {
        value.SetString(result);
        value.SetNull(result == nullptr);
    }
};

// --- The unpacker ----------------------------------------------------------------------------

template <typename R, typename... P, std::size_t... I>
bool ReplayCallWith(R (*function)(P...), std::vector<ReplayValue>& arguments,
                    ReplayValue* returnValue, std::index_sequence<I...>)
{
    // Every value's kind is checked before the call, left to right, so a value of the wrong kind
    // throws before the function runs; the values are then converted straight into the call.
    // References and pointers point into the list, so the function's outputs land in it.
    (ReplayParameter<P>::Check(arguments[I]), ...);
    if constexpr (std::is_void<R>::value) {
        function(ReplayParameter<P>::Get(arguments[I])...);
        if (returnValue != nullptr)
            returnValue->SetKind(ReplayValueKindNone);
    } else {
        R result = function(ReplayParameter<P>::Get(arguments[I])...);
        if (returnValue != nullptr)
            ReplayReturn<R>::Store(*returnValue, result);
    }
    return true;
}

// Replays one call of function from the recorded list: checks the count (the trailing
// ResultType* included), converts, calls once, stores the return value. Returns true when
// the call was made.
template <typename R, typename... P>
bool ReplayCall(R (*function)(P...), std::vector<ReplayValue>& arguments, ReplayValue* returnValue)
{
    static_assert(
        sizeof...(P) > 0 && std::is_same<std::tuple_element_t<sizeof...(P) - 1, std::tuple<P...>>,
                                         ResultType*>::value,
        "an exported call ends in ResultType*");
    CheckReplayArgumentCount(arguments, static_cast<unsigned>(sizeof...(P)));
    return ReplayCallWith(function, arguments, returnValue, std::index_sequence_for<P...>{});
}

// The adapter of one exported function: the unpacker of its signature bound to it.
template <auto Function>
bool ReplayAdapterFor(std::vector<ReplayValue>& arguments, ReplayValue* returnValue)
{
    return ReplayCall(Function, arguments, returnValue);
}

}  // namespace QEL

#define QEL_REPLAY_JOIN_NAMES(a, b) a##b
#define QEL_REPLAY_JOIN(a, b) QEL_REPLAY_JOIN_NAMES(a, b)

// Registers the adapter of an exported function under the function's own name while the
// library loads. Use it at namespace scope in the function's source file.
#define QEL_REGISTER_REPLAY_FUNCTION(function)                                          \
    [[maybe_unused]] static const bool QEL_REPLAY_JOIN(s_replayRegistered_, function) = \
        ::QEL::RegisterReplayFunction(#function, &::QEL::ReplayAdapterFor<&function>)
