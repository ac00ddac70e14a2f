#include "api/edits/QelSelectionApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/objects/SolutionChangeData.h"
#include "model/references/Reference.h"

namespace QEL {

// The reference is looked up among the interaction's own whether checks are on or not: a
// foreign or dangling tag would otherwise be selected.
QEL_API_REPLAYABLE_CALL(AddSelection, 0);
void AddSelection(int interaction, int reference, ResultType* result)
{
    Call(s_AddSelection, interaction, result, ReferenceArg(reference, "reference"))
        .Run([](Interaction* target, ResultType& status, Reference* found) {
            if (!target->AddSelectedReference(found))
                status = ResultTypeBadReferenceCombination;
        });
}

QEL_API_REPLAYABLE_CALL(RemoveSelection, 0);
void RemoveSelection(int interaction, int reference, ResultType* result)
{
    Call(s_RemoveSelection, interaction, result, ReferenceArg(reference, "reference"))
        .Run([](Interaction* target, ResultType&, Reference* found) {
            target->RemoveSelectedReference(found);
        });
}

QEL_API_REPLAYABLE_CALL(GetSelectionCount, ApiCallQuery);
int GetSelectionCount(int interaction, ResultType* result)
{
    return CountCall(s_GetSelectionCount, interaction, result, &Interaction::GetSelectionCount);
}

QEL_API_REPLAYABLE_CALL(GetSelection, ApiCallQuery);
int GetSelection(int interaction, int index, ResultType* result)
{
    return Call<int>(s_GetSelection, interaction, result, IntArg(index, "index"))
        .ReturnsTag("ReferenceTag")
        .Run([](Interaction* target, ResultType& status, int at) {
            const std::vector<Reference*>& selected = target->GetSelectedReferences();
            if (at < 0 || at >= static_cast<int>(selected.size())) {
                status = ResultTypeBadArgument;
                return 0;
            }
            return TagOrFail(selected[at], status);
        });
}

QEL_API_REPLAYABLE_CALL(ClearSelections, 0);
void ClearSelections(int interaction, ResultType* result)
{
    Call(s_ClearSelections, interaction, result).Run([](Interaction* target, ResultType&) {
        target->ClearSelections();
    });
}

QEL_API_REPLAYABLE_CALL(OptionSetSolutionDataMode, 0);
void OptionSetSolutionDataMode(int interaction, SolutionDataMode solutionDataMode,
                               ResultType* result)
{
    EnumArg<SolutionDataMode> mode(solutionDataMode, "solutionDataMode");
    mode.check = CheckArgSolutionDataMode;
    Call(s_OptionSetSolutionDataMode, interaction, result, mode)
        .Run([](Interaction* target, ResultType&, SolutionDataMode to) {
            target->SetSolutionDataMode(to);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetSolutionDataMode, ApiCallQuery);
SolutionDataMode OptionGetSolutionDataMode(int interaction, ResultType* result)
{
    return Call<SolutionDataMode>(s_OptionGetSolutionDataMode, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetSolutionDataMode(); });
}

QEL_API_REPLAYABLE_CALL(SolutionDataGetEntityTransform, ApiCallQuery);
bool SolutionDataGetEntityTransform(int interaction, int entity, double transform[4][4],
                                    ResultType* result)
{
    return Call<bool>(s_SolutionDataGetEntityTransform, interaction, result,
                      EntityArg(entity, "entity", CheckArgReferenceEntityTag),
                      TransformOutput(transform, "transform"))
        .Run([](Interaction* target, ResultType& status, int held, double(*out)[4]) {
            SolutionChangeData data;
            if (!target->GetCopyOfCachedSolutionChangeData(data)) {
                status = ResultTypeBadArgument;
                return false;
            }
            const EntitySolutionChange* change = data.FindEntityChange(held);
            if (!change || !change->HasTransform())
                return false;
            change->GetTransform().Get4x4(out);
            return true;
        });
}

}  // namespace QEL
