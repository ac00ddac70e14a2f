#include "api/finding/QelRuleApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/maths/Vec.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "update/records/ReferenceRules.h"
#include "update/records/Rule.h"

namespace QEL {

namespace {

Rule* CastTagToRule(Interaction* interaction, int tag) { return CastTagTo<Rule>(interaction, tag); }

ObjectArg<Rule> RuleArg(int tag) { return {{"rule"}, tag, "RuleTag", CastTagToRule}; }

ObjectArg<Reference> ReferenceOf(int tag)
{
    return {{"reference"}, tag, "ReferenceTag", CastTagToReference};
}

// Three doubles read through a pointer that may be null (none given), journalled as a
// "double[]" that is null then.
struct OptionalDirectionArg : ApiArgument {
    const double* values;

    void Journal(JournalArguments& journal) const
    {
        journal.WriteJournalArgDoubleBuffer(values, 3, name);
    }
    const double* Get(Interaction*) const { return values; }
};

// Three doubles written through a pointer: a null one is refused, as the effect would write
// through it; journalled after the effect.
struct DirectionOutputArg : ApiArgument {
    double* values;

    void JournalOutput(JournalArguments& journal) const
    {
        if (values)
            journal.WriteJournalArgDoubleBuffer(values, 3, name);
    }
    ResultType Require(Interaction*) const { return RefusedUnless(values != nullptr); }
    double* Get(Interaction*) const { return values; }
};

template <typename Value>
Value ReadRule(const ApiCallProperties& call, int interaction, int rule,
               Value (Rule::*getter)() const, ResultType* result)
{
    return Call<Value>(call, interaction, result, RuleArg(rule))
        .Run([getter](Interaction*, ResultType&, Rule* found) { return (found->*getter)(); });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateRule, 0);
int CreateRule(int interaction, RuleType ruleType, int reference, double* direction,
               ResultType* result)
{
    return Call<int>(s_CreateRule, interaction, result, EnumArg<RuleType>(ruleType, "ruleType"),
                     ReferenceOf(reference), OptionalDirectionArg{{"direction"}, direction})
        .ReturnsTag("RuleTag")
        .Run([](Interaction* target, ResultType& status, RuleType type, Reference* on,
                const double* values) {
            const Vec along = values ? Vec(values[0], values[1], values[2]) : Vec(0, 0, 0);
            return TagOrFail(Rule::Create(target, on, type, RuleStateApply, along, false, true),
                             status);
        });
}

QEL_API_REPLAYABLE_CALL(RuleSetState, 0);
void RuleSetState(int interaction, int rule, RuleState state, ResultType* result)
{
    // A number outside the enumeration would be stored and journalled without a name, and
    // replayed as another state: it is refused whether checks are on or not.
    Call(s_RuleSetState, interaction, result, RuleArg(rule), EnumArg<RuleState>(state, "state"))
        .Run([](Interaction*, ResultType&, Rule* found, RuleState value) {
            found->SetState(value);
        });
}

QEL_API_REPLAYABLE_CALL(RuleGetState, ApiCallQuery);
RuleState RuleGetState(int interaction, int rule, ResultType* result)
{
    return ReadRule(s_RuleGetState, interaction, rule, &Rule::GetState, result);
}

QEL_API_REPLAYABLE_CALL(RuleGetType, ApiCallQuery);
RuleType RuleGetType(int interaction, int rule, ResultType* result)
{
    return ReadRule(s_RuleGetType, interaction, rule, &Rule::GetRuleType, result);
}

QEL_API_REPLAYABLE_CALL(RuleGetReference, ApiCallQuery);
int RuleGetReference(int interaction, int rule, ResultType* result)
{
    return Call<int>(s_RuleGetReference, interaction, result, RuleArg(rule))
        .ReturnsTag("ReferenceTag")
        .Run([](Interaction*, ResultType& status, Rule* found) {
            Reference* reference = found->GetReference();
            if (!reference)
                status = ResultTypeBadArgument;
            return reference ? reference->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(RuleGetTranslateDirection, ApiCallQuery);
void RuleGetTranslateDirection(int interaction, int rule, double* direction, ResultType* result)
{
    Call(s_RuleGetTranslateDirection, interaction, result, RuleArg(rule),
         DirectionOutputArg{{"direction"}, direction})
        .Run([](Interaction*, ResultType&, Rule* found, double* out) {
            const Vec& along = found->GetDirection();
            out[0] = along.x;
            out[1] = along.y;
            out[2] = along.z;
        });
}

QEL_API_REPLAYABLE_CALL(RuleGetWasFound, ApiCallQuery);
bool RuleGetWasFound(int interaction, int rule, ResultType* result)
{
    return ReadRule(s_RuleGetWasFound, interaction, rule, &Rule::GetFoundInLastConfigure, result);
}

QEL_API_REPLAYABLE_CALL(RuleGetWasApplied, ApiCallQuery);
bool RuleGetWasApplied(int interaction, int rule, ResultType* result)
{
    return Call<bool>(s_RuleGetWasApplied, interaction, result, RuleArg(rule))
        .Run([](Interaction*, ResultType&, Rule* found) {
            return found->GetFoundInLastConfigure() && found->GetAppliedInLastConfigure();
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceGetRules, ApiCallQuery);
void ReferenceGetRules(int interaction, int reference, Array<int>& rules, ResultType* result)
{
    Call(s_ReferenceGetRules, interaction, result, ReferenceOf(reference),
         TagsOutput(rules, "rules"))
        .Run([](Interaction*, ResultType&, Reference* on, Array<int>& out) {
            out.RemoveAll();
            std::vector<Rule*> found;
            GetReferenceRules(on, found);
            for (Rule* rule : found)
                out.Add(rule->GetTag());
        });
}

}  // namespace QEL
