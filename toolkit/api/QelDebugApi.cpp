#include "api/QelDebugApi.h"

#include "api/ApiTagLists.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/persist/PersistenceUtilities.h"
#include "core/objects/SolutionChangeData.h"
#include "core/objects/TagManager.h"
#include "model/relations/Relation.h"
#include "model/operations/ModellingOperations.h"

#include <vector>

namespace QEL {
namespace {

// The record of the last solve for the entity (all flags false when it has none); false, with
// BadArgument, when the interaction holds no solution to look at.
bool FindPreviewChange(Interaction* interaction, int entity, EntitySolutionChange& change,
                       ResultType& status)
{
    SolutionChangeData data;
    if (!interaction->GetCopyOfCachedSolutionChangeData(data) || data.IsEmpty()) {
        status = ResultTypeBadArgument;
        return false;
    }
    if (const EntitySolutionChange* found = data.FindEntityChange(entity))
        change = *found;
    return true;
}

// The output pointers are not inputs: they are journalled once, as the values they receive.
void WriteEntityInput(JournalArguments& journal, int entity)
{
    journal.WriteJournalArgEntityTag(entity, "entity");
}

}  // namespace

// Not replayed before: replay sees the record and has the function to call it again.
QEL_API_REPLAYABLE_CALL(DebugSaveBodiesWithoutQELAttributes, ApiCallProcessWide);
void DebugSaveBodiesWithoutQELAttributes(const Array<int>& bodies, const char* filename,
                                         ResultType* result)
{
    ApiCall<>(s_DebugSaveBodiesWithoutQELAttributes, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(GetArrayVector(bodies), "bodies");
            journal.WriteJournalArgString(filename, "filename");
        })
        .Run([&](Interaction*, ResultType& status) {
            if (!SaveBodiesWithoutQELAttributes(bodies, filename))
                status = ResultTypeBadArgument;
        });
}

QEL_API_CALL(DebugSaveInteraction, 0);
void DebugSaveInteraction(int interaction, const char* filename, ResultType* result)
{
    ApiCall<>(s_DebugSaveInteraction, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgString(filename, "filename"); })
        .Run([&](Interaction* target, ResultType& status) {
            if (!target->SaveToFile(filename))
                status = ResultTypeBadArgument;
        });
}

QEL_API_CALL(DebugLoadInteraction, ApiCallProcessWide);
int DebugLoadInteraction(const char* filename, ResultType* result)
{
    return ApiCall<int>(s_DebugLoadInteraction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgString(filename, "filename"); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnInteractionTag(tag); })
        .Run([&](Interaction*, ResultType& status) {
            status = Interaction::CheckNewInteractionAllowed();
            if (status != ResultTypeOk)
                return 0;
            Interaction* loaded = Interaction::CreateFromFile(filename);
            if (!loaded) {
                status = ResultTypeFail;
                return 0;
            }
            return loaded->GetTag();
        });
}

QEL_API_CALL(DebugCheckValidity, 0);
bool DebugCheckValidity(int interaction, int object, Array<int>* problemObjectTags,
                        Array<InvalidityType>* problems, ResultType* result)
{
    return ApiCall<bool>(s_DebugCheckValidity, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgTag(object, "object"); })
        .Checks([&](Interaction* target) { return CheckArgObjectTag(object, target); })
        .Outputs([&](JournalArguments& journal) {
            WriteJournalTagListOutput(journal, problemObjectTags, "problemObjectTags");
            journal.WriteJournalArgInvalidityTypeArrayPointer(
                problems ? &GetArrayVector(*problems) : nullptr, "problems");
        })
        .Run([&](Interaction* target, ResultType& status) {
            // The interaction answers its own tag; any other tag must name one of its objects,
            // checks on or off.
            TaggedEntity* checked = object == target->GetTag() ? target
                                                               : target->FindTaggedEntityFromTag(object);
            if (!checked) {
                status = ResultTypeBadArgument;
                return false;
            }
            std::vector<TaggedEntity*> badObjects;
            std::vector<InvalidityType> codes;
            const bool valid = checked->CheckValidity(badObjects, codes);
            if (badObjects.size() != codes.size()) {
                status = ResultTypeFail;
                return valid;
            }
            if (problemObjectTags) {
                problemObjectTags->Reserve(problemObjectTags->GetSize() + static_cast<int>(badObjects.size()));
                for (TaggedEntity* bad : badObjects)
                    problemObjectTags->Add(bad ? bad->GetTag() : 0);
            }
            if (problems)
                for (InvalidityType code : codes)
                    problems->Add(code);
            return valid;
        });
}

QEL_API_REPLAYABLE_CALL(DebugCheckInteractionRelations, 0);
bool DebugCheckInteractionRelations(int interaction, ResultType* result)
{
    return ApiCall<bool>(s_DebugCheckInteractionRelations, interaction, result)
        .Run([](Interaction* target, ResultType&) {
            for (Relation* relation : target->GetRelations())
                if (relation && !relation->IsGeometricallySatisfied())
                    return false;
            return true;
        });
}

namespace {

// The two shell checks differ only in the entity they are given and the check they run on it.
bool ShellCheckCall(const ApiCallProperties& call, int interaction, int entity, const char* name,
                    bool (*check)(Interaction*, int), ResultType* result)
{
    return ApiCall<bool>(call, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgEntityTag(entity, name); })
        .Checks([&](Interaction*) { return CheckArgKernelEntityTag(entity); })
        .Run([&](Interaction* target, ResultType&) { return check(target, entity); });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(DebugCheckShelledFace, 0);
bool DebugCheckShelledFace(int interaction, int face, ResultType* result)
{
    return ShellCheckCall(s_DebugCheckShelledFace, interaction, face, "FaceToCheck", &CheckShelledFace, result);
}

QEL_API_REPLAYABLE_CALL(DebugCheckShelledBody, 0);
bool DebugCheckShelledBody(int interaction, int body, ResultType* result)
{
    return ShellCheckCall(s_DebugCheckShelledBody, interaction, body, "BodyToCheck", &CheckShelledBody, result);
}

QEL_API_CALL(DebugJournalCheckpoint, 0);
void DebugJournalCheckpoint(int interaction, const char* checkpointName, bool bodyCompareOnly,
                            ResultType* result)
{
    bool journalled = false;
    ApiCall<>(s_DebugJournalCheckpoint, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgString(checkpointName, "checkpointName");
            journal.WriteJournalArgBool(bodyCompareOnly, "bodyCompareOnly");
            journalled = true;
        })
        .Run([&](Interaction* target, ResultType& status) {
            // Without a journal there is no record to hold the snapshot.
            if (!journalled) {
                status = ResultTypeBadArgument;
                return;
            }
            JournalArguments journal(target->GetTag());
            status = static_cast<ResultType>(journal.WriteJournalCheckpoint(target->GetTag()));
        });
}

QEL_API_CALL(DebugJournalFailurePoint, ApiCallProcessWide);
void DebugJournalFailurePoint(ResultType* result)
{
    bool journalled = false;
    ApiCall<>(s_DebugJournalFailurePoint, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalForceFailure();
            journalled = true;
        })
        .Run([&](Interaction*, ResultType& status) {
            if (!journalled)
                status = ResultTypeBadArgument;
        });
}

QEL_API_REPLAYABLE_CALL(OptionSetPreviewMode, 0);
void OptionSetPreviewMode(int interaction, PreviewMode previewMode, ResultType* result)
{
    ApiCall<>(s_OptionSetPreviewMode, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgPreviewMode(previewMode, "previewMode"); })
        .Checks([&](Interaction*) { return CheckArgEnumIn0To2(previewMode); })
        .Run([&](Interaction* target, ResultType&) { target->SetPreviewMode(previewMode); });
}

QEL_API_REPLAYABLE_CALL(OptionGetPreviewMode, ApiCallQuery);
PreviewMode OptionGetPreviewMode(int interaction, ResultType* result)
{
    return ApiCall<PreviewMode>(s_OptionGetPreviewMode, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetPreviewMode(); });
}

QEL_API_REPLAYABLE_CALL(DebugGetPreviewEntities, ApiCallQuery);
bool DebugGetPreviewEntities(int interaction, Array<int>* entities, ResultType* result)
{
    return ApiCall<bool>(s_DebugGetPreviewEntities, interaction, result)
        .Requires([&](Interaction*) { return CheckArgPointer(entities); })
        .Outputs([&](JournalArguments& journal) { WriteJournalTagListOutput(journal, entities, "entities"); })
        .Run([&](Interaction* target, ResultType& status) {
            SolutionChangeData data;
            if (!target->GetCopyOfCachedSolutionChangeData(data) || data.IsEmpty()) {
                status = ResultTypeBadArgument;
                return false;
            }
            for (const auto& change : data.GetChanges())
                entities->Add(change.first);
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(DebugGetEntityPreviewTransform, ApiCallQuery);
bool DebugGetEntityPreviewTransform(int interaction, int entity, double transform[4][4],
                                    ResultType* result)
{
    bool moved = false;
    return ApiCall<bool>(s_DebugGetEntityPreviewTransform, interaction, result)
        .Inputs([&](JournalArguments& journal) { WriteEntityInput(journal, entity); })
        .Checks([&](Interaction*) { return CheckArgReferenceEntityTag(entity); })
        .Requires([&](Interaction*) { return CheckArgPointer(transform); })
        .Outputs([&](JournalArguments& journal) {
            if (moved)
                journal.WriteJournalArgTransform(transform, "transform");
        })
        .Run([&](Interaction* target, ResultType& status) {
            EntitySolutionChange change;
            if (!FindPreviewChange(target, entity, change, status))
                return false;
            moved = change.HasTransform();
            if (moved)
                change.GetTransform().Get4x4(transform);
            return moved;
        });
}

QEL_API_REPLAYABLE_CALL(DebugGetEntityPreviewRadius, ApiCallQuery);
bool DebugGetEntityPreviewRadius(int interaction, int entity, bool* majorRadiusChanged,
                                 double* majorRadiusNewValue, bool* minorRadiusChanged,
                                 double* minorRadiusNewValue, ResultType* result)
{
    const auto pointers = [&](Interaction*) {
        return FirstFailure({CheckArgPointer(majorRadiusChanged), CheckArgPointer(majorRadiusNewValue),
                             CheckArgPointer(minorRadiusChanged), CheckArgPointer(minorRadiusNewValue)});
    };
    bool written = false;
    return ApiCall<bool>(s_DebugGetEntityPreviewRadius, interaction, result)
        .Inputs([&](JournalArguments& journal) { WriteEntityInput(journal, entity); })
        .Checks([&](Interaction*) { return CheckArgReferenceEntityTag(entity); })
        .Requires(pointers)
        .Outputs([&](JournalArguments& journal) {
            if (!written)
                return;
            journal.WriteJournalArgBool(*majorRadiusChanged, "majorRadiusChanged");
            journal.WriteJournalArgDouble(*majorRadiusNewValue, "majorRadiusNewValue");
            journal.WriteJournalArgBool(*minorRadiusChanged, "minorRadiusChanged");
            journal.WriteJournalArgDouble(*minorRadiusNewValue, "minorRadiusNewValue");
        })
        .Run([&](Interaction* target, ResultType& status) {
            EntitySolutionChange change;
            if (!FindPreviewChange(target, entity, change, status))
                return false;
            written = true;
            *majorRadiusChanged = change.HasRadius();
            *majorRadiusNewValue = change.GetRadius();
            *minorRadiusChanged = change.HasMinorRadius();
            *minorRadiusNewValue = change.GetMinorRadius();
            return change.HasRadius() || change.HasMinorRadius();
        });
}

namespace {

// The one-value preview queries: the value and the flag that says whether it changed.
bool PreviewValue(const ApiCallProperties& call, int interaction, int entity, double* value,
                  const char* name, bool (EntitySolutionChange::*has)() const,
                  double (EntitySolutionChange::*get)() const, ResultType* result)
{
    bool written = false;
    return ApiCall<bool>(call, interaction, result)
        .Inputs([&](JournalArguments& journal) { WriteEntityInput(journal, entity); })
        .Checks([&](Interaction*) { return CheckArgReferenceEntityTag(entity); })
        .Requires([&](Interaction*) { return CheckArgPointer(value); })
        .Outputs([&](JournalArguments& journal) {
            if (written)
                journal.WriteJournalArgDouble(*value, name);
        })
        .Run([&](Interaction* target, ResultType& status) {
            EntitySolutionChange change;
            if (!FindPreviewChange(target, entity, change, status))
                return false;
            written = true;
            *value = (change.*get)();
            return (change.*has)();
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(DebugGetEntityPreviewReblend, ApiCallQuery);
bool DebugGetEntityPreviewReblend(int interaction, int entity, double* newRadius, ResultType* result)
{
    return PreviewValue(s_DebugGetEntityPreviewReblend, interaction, entity, newRadius, "newRadius",
                        &EntitySolutionChange::HasReblend, &EntitySolutionChange::GetReblend, result);
}

QEL_API_REPLAYABLE_CALL(DebugGetEntityPreviewHalfAngle, ApiCallQuery);
bool DebugGetEntityPreviewHalfAngle(int interaction, int entity, double* newHalfAngle,
                                    ResultType* result)
{
    return PreviewValue(s_DebugGetEntityPreviewHalfAngle, interaction, entity, newHalfAngle,
                        "newHalfAngle", &EntitySolutionChange::HasHalfAngle,
                        &EntitySolutionChange::GetHalfAngle, result);
}

}  // namespace QEL
