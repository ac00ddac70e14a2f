#pragma once
// The frame of every exported call. An exported function states what is its own (its
// properties, how its inputs, outputs and return value are journalled, its checks and its
// effect) and the frame runs them in the one order every call follows:
//
//   bool OptionGetAdaptiveLiftMode(int interaction, ResultType* result)
//   {
//       return ApiCall<bool>(s_OptionGetAdaptiveLiftMode, interaction, result)
//           .Run([](Interaction* i, ResultType&) { return i->GetAdaptiveLiftMode(); });
//   }
//
// The order: clear the result; build the guard; open the "Function" record; stop at once with
// ResultTypeBrennikBBOn while the kernel's bulletin board is on; find the interaction; from
// here under the call's recovery point: begin tracking, journal the inputs, refuse a tag of no
// registered interaction with ResultTypeBadArgument (whether checks are on or not), judge what
// the effect cannot run without, run the checks when the interaction asks for them, run the effect
// when all is well, journal the outputs and return value, end tracking. A call given up by a fault
// ends with ResultTypeUnhandledException: the registry of interactions is emptied and the journal
// is saved and closed. Last, the result is stored and journalled.

#include "core/enums/Enums.h"
#include "core/frame/ApiCallGuard.h"
#include "core/journal/JournalArguments.h"

#include <functional>
#include <initializer_list>
#include <type_traits>
#include <utility>

namespace QEL {

class Interaction;

enum ApiCallFlag : unsigned {
    // Kept out of the journal always.
    ApiCallNotJournallable = 1u << 0,
    // An enquiry: leaves the interaction's tracking data alone and is left out of a
    // minimised journal.
    ApiCallQuery = 1u << 1,
    // Changes the model: its changes are collected into the tracking data.
    ApiCallTracked = 1u << 2,
    // Not an enquiry, but leaves the tracking data of the previous call alone.
    ApiCallKeepsTrackingData = 1u << 3,
    // Acts on the whole process and takes no interaction tag.
    ApiCallProcessWide = 1u << 4,
    // Journal replay can make the call again.
    ApiCallReplayable = 1u << 5,
};

// What the frame needs to know of one exported call. A call is journalled under its own name,
// so that replay finds the very function that was called.
struct ApiCallProperties {
    const char* name;
    unsigned flags;
    // The journal name of the leading interaction tag.
    const char* interactionArgName;

    bool IsJournallable() const { return !(flags & ApiCallNotJournallable); }
    bool IsQuery() const { return (flags & ApiCallQuery) != 0; }
    bool IsTracked() const { return (flags & ApiCallTracked) != 0; }
    bool ClearsTrackingData() const { return !(flags & (ApiCallQuery | ApiCallKeepsTrackingData)); }
    bool NeedsInteraction() const { return !(flags & ApiCallProcessWide); }
    bool IsReplayable() const { return (flags & ApiCallReplayable) != 0; }
};

// The call's own parts. Any may be empty.
struct ApiCallParts {
    // Input arguments after the interaction tag, in parameter order.
    std::function<void(JournalArguments&)> inputs;
    // What the effect cannot run without (a values array it reads, say): judged whether or
    // not the interaction asks for checks, so a bad argument is never left to crash the call.
    std::function<ResultType(Interaction*)> requirements;
    // The call's own checks; the frame has already refused an unknown interaction.
    std::function<ResultType(Interaction*)> checks;
    // The implementation: sets the value and may store a result other than Ok.
    std::function<void(Interaction*, ResultType&)> effect;
    // Output arguments, then the return value.
    std::function<void(JournalArguments&)> outputs;
    std::function<void(JournalArguments&)> returnValue;
};

// The frame itself, shared by every call. Answers the call's result.
ResultType RunApiCallFrame(const ApiCallProperties& call, const int* interactionTag,
                           ResultType* result, const ApiCallParts& parts);

// The first result that is not Ok, in order; Ok when all are. Every check is robust against an
// argument an earlier one refused, so they may all be evaluated.
ResultType FirstFailure(std::initializer_list<ResultType> results);

// Test control: the function runs once inside the next call, after its tracking has begun and
// its inputs are journalled; tests use it to bring faults and changes into a call.
void SetApiCallFaultForTest(void (*fault)());

// The journal form of a return value, chosen by its type.
inline void WriteJournalReturnValue(JournalArguments& journal, bool value)
{
    journal.WriteJournalReturnBool(value);
}
inline void WriteJournalReturnValue(JournalArguments& journal, int value)
{
    journal.WriteJournalReturnInt(value);
}
inline void WriteJournalReturnValue(JournalArguments& journal, double value)
{
    journal.WriteJournalReturnDouble(value);
}
#define QEL_JOURNAL_RETURN_ENUM(Enum)                                          \
    inline void WriteJournalReturnValue(JournalArguments& journal, Enum value) \
    {                                                                          \
        journal.WriteJournalReturn##Enum(value);                               \
    }
QEL_JOURNAL_ENUMS(QEL_JOURNAL_RETURN_ENUM)
#undef QEL_JOURNAL_RETURN_ENUM

// One exported call, described and then run. Value is what the function returns (void for
// none); it is its start value (0, false or null unless the call says) when the call fails
// before producing it.
template <typename Value = void>
class ApiCall {
public:
    using Effect = std::conditional_t<std::is_void<Value>::value,
                                      std::function<void(Interaction*, ResultType&)>,
                                      std::function<Value(Interaction*, ResultType&)>>;

    // A call on the interaction with the tag.
    ApiCall(const ApiCallProperties& call, int interactionTag, ResultType* result)
        : m_call(call), m_interactionTag(interactionTag), m_hasTag(true), m_result(result)
    {
    }
    // A process-wide call.
    ApiCall(const ApiCallProperties& call, ResultType* result) : m_call(call), m_result(result) {}

    ApiCall& Inputs(std::function<void(JournalArguments&)> inputs)
    {
        m_parts.inputs = std::move(inputs);
        return *this;
    }
    ApiCall& Requires(std::function<ResultType(Interaction*)> requirements)
    {
        m_parts.requirements = std::move(requirements);
        return *this;
    }
    ApiCall& Checks(std::function<ResultType(Interaction*)> checks)
    {
        m_parts.checks = std::move(checks);
        return *this;
    }
    ApiCall& Outputs(std::function<void(JournalArguments&)> outputs)
    {
        m_parts.outputs = std::move(outputs);
        return *this;
    }
    // How the return value is journalled when its type alone does not say (tags, above all).
    template <typename Write>
    ApiCall& Returns(Write write)
    {
        m_returns = [this, write](JournalArguments& journal) { write(journal, m_value); };
        return *this;
    }

    // The value returned when the call stops before its effect has produced one (0, false or
    // null unless the call says otherwise).
    template <typename Start>
    ApiCall& StartsWith(Start start)
    {
        m_start = start;
        return *this;
    }

    Value Run(Effect effect)
    {
        if constexpr (std::is_void<Value>::value) {
            m_parts.effect = std::move(effect);
            RunFrame();
        } else {
            m_value = m_start;
            m_parts.effect = [this, &effect](Interaction* interaction, ResultType& result) {
                m_value = effect(interaction, result);
            };
            m_parts.returnValue = m_returns ? m_returns : [this](JournalArguments& journal) {
                WriteJournalReturnValue(journal, m_value);
            };
            if (RunFrame() == ResultTypeUnhandledException)
                return m_start;
            return m_value;
        }
    }

private:
    struct NoValue {};
    using Stored = std::conditional_t<std::is_void<Value>::value, NoValue, Value>;

    ResultType RunFrame()
    {
        return RunApiCallFrame(m_call, m_hasTag ? &m_interactionTag : nullptr, m_result, m_parts);
    }

    const ApiCallProperties& m_call;
    int m_interactionTag = 0;
    bool m_hasTag = false;
    ResultType* m_result;
    ApiCallParts m_parts;
    std::function<void(JournalArguments&)> m_returns;
    Stored m_value{};
    Stored m_start{};
};

}  // namespace QEL
