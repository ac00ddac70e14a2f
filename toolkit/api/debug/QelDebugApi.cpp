#include "api/debug/QelDebugApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiTagLists.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/objects/SolutionChangeData.h"
#include "core/objects/TagManager.h"
#include "core/persist/PersistenceUtilities.h"
#include "model/operations/ModellingOperations.h"
#include "model/relations/Relation.h"

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

TagArg PreviewEntityArg(int entity)
{
    return EntityArg(entity, "entity", CheckArgReferenceEntityTag);
}

// The one-value preview queries: the value and the flag that says whether it changed.
bool PreviewValue(const ApiCallProperties& call, int interaction, int entity, double* value,
                  const char* name, bool (EntitySolutionChange::*has)() const,
                  double (EntitySolutionChange::*get)() const, ResultType* result)
{
    bool written = false;
    return Call<bool>(call, interaction, result, PreviewEntityArg(entity),
                      PointerOutput(value, name, written))
        .Run([&](Interaction* target, ResultType& status, int of, double* place) {
            EntitySolutionChange change;
            if (!FindPreviewChange(target, of, change, status))
                return false;
            written = true;
            *place = (change.*get)();
            return (change.*has)();
        });
}

// The two shell checks differ only in the entity they are given and the check they run on it.
bool ShellCheckCall(const ApiCallProperties& call, int interaction, int entity, const char* name,
                    bool (*check)(Interaction*, int), ResultType* result)
{
    return Call<bool>(call, interaction, result, EntityArg(entity, name))
        .Run([check](Interaction* target, ResultType&, int of) { return check(target, of); });
}

}  // namespace

// Not replayed before: replay sees the record and has the function to call it again.
QEL_API_REPLAYABLE_CALL(DebugSaveBodiesWithoutQELAttributes, ApiCallProcessWide);
void DebugSaveBodiesWithoutQELAttributes(const Array<int>& bodies, const char* filename,
                                         ResultType* result)
{
    ProcessCall(s_DebugSaveBodiesWithoutQELAttributes, result, TagListArg(bodies, "bodies"),
                TextArg(filename, "filename"))
        .Run([&](Interaction*, ResultType& status, auto&&, const char* name) {
            if (!SaveBodiesWithoutQELAttributes(bodies, name))
                status = ResultTypeBadArgument;
        });
}

QEL_API_CALL(DebugSaveInteraction, 0);
void DebugSaveInteraction(int interaction, const char* filename, ResultType* result)
{
    Call(s_DebugSaveInteraction, interaction, result, TextArg(filename, "filename"))
        .Run([](Interaction* target, ResultType& status, const char* name) {
            if (!target->SaveToFile(name))
                status = ResultTypeBadArgument;
        });
}

QEL_API_CALL(DebugLoadInteraction, ApiCallProcessWide);
int DebugLoadInteraction(const char* filename, ResultType* result)
{
    return ProcessCall<int>(s_DebugLoadInteraction, result, TextArg(filename, "filename"))
        .ReturnsTag("InteractionTag")
        .Run([](Interaction*, ResultType& status, const char* name) {
            status = Interaction::CheckNewInteractionAllowed();
            if (status != ResultTypeOk)
                return 0;
            return TagOrFail(Interaction::CreateFromFile(name), status);
        });
}

QEL_API_CALL(DebugCheckValidity, 0);
bool DebugCheckValidity(int interaction, int object, Array<int>* problemObjectTags,
                        Array<InvalidityType>* problems, ResultType* result)
{
    return Call<bool>(s_DebugCheckValidity, interaction, result,
                      ObjectTagArg(object, "object", CheckArgObjectTag),
                      TagListOutput(problemObjectTags, "problemObjectTags"))
        .Outputs([&](JournalArguments& journal) {
            journal.WriteJournalArgInvalidityTypeArrayPointer(
                problems ? &GetArrayVector(*problems) : nullptr, "problems");
        })
        .Run([&](Interaction* target, ResultType& status, int tag, Array<int>* problemTags) {
            // The interaction answers its own tag; any other tag must name one of its objects,
            // checks on or off.
            TaggedEntity* checked =
                tag == target->GetTag() ? target : target->FindTaggedEntityFromTag(tag);
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
            if (problemTags) {
                problemTags->Reserve(problemTags->GetSize() + static_cast<int>(badObjects.size()));
                for (TaggedEntity* bad : badObjects)
                    problemTags->Add(bad ? bad->GetTag() : 0);
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
    return Call<bool>(s_DebugCheckInteractionRelations, interaction, result)
        .Run([](Interaction* target, ResultType&) {
            for (Relation* relation : target->GetRelations())
                if (relation && !relation->IsGeometricallySatisfied())
                    return false;
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(DebugCheckShelledFace, 0);
bool DebugCheckShelledFace(int interaction, int face, ResultType* result)
{
    return ShellCheckCall(s_DebugCheckShelledFace, interaction, face, "FaceToCheck",
                          &CheckShelledFace, result);
}

QEL_API_REPLAYABLE_CALL(DebugCheckShelledBody, 0);
bool DebugCheckShelledBody(int interaction, int body, ResultType* result)
{
    return ShellCheckCall(s_DebugCheckShelledBody, interaction, body, "BodyToCheck",
                          &CheckShelledBody, result);
}

QEL_API_CALL(DebugJournalCheckpoint, 0);
void DebugJournalCheckpoint(int interaction, const char* checkpointName, bool bodyCompareOnly,
                            ResultType* result)
{
    bool journalled;
    Call(s_DebugJournalCheckpoint, interaction, result, TextArg(checkpointName, "checkpointName"),
         BoolArg(bodyCompareOnly, "bodyCompareOnly"), JournalRecord(journalled))
        .Run([](Interaction* target, ResultType& status, const char*, bool, bool recorded) {
            // Without a journal there is no record to hold the snapshot: the call fails.
            JournalArguments journal(target->GetTag());
            status = recorded
                         ? static_cast<ResultType>(journal.WriteJournalCheckpoint(target->GetTag()))
                         : ResultTypeFail;
        });
}

QEL_API_CALL(DebugJournalFailurePoint, ApiCallProcessWide);
void DebugJournalFailurePoint(ResultType* result)
{
    bool journalled;
    ProcessCall(s_DebugJournalFailurePoint, result, JournalRecord(journalled, true))
        .Run([](Interaction*, ResultType& status, bool recorded) {
            if (!recorded)
                status = ResultTypeBadArgument;
        });
}

QEL_API_REPLAYABLE_CALL(OptionSetPreviewMode, 0);
void OptionSetPreviewMode(int interaction, PreviewMode previewMode, ResultType* result)
{
    Call(s_OptionSetPreviewMode, interaction, result,
         EnumArg<PreviewMode>(previewMode, "previewMode"))
        .Run([](Interaction* target, ResultType&, PreviewMode mode) {
            target->SetPreviewMode(mode);
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetPreviewMode, ApiCallQuery);
PreviewMode OptionGetPreviewMode(int interaction, ResultType* result)
{
    return Call<PreviewMode>(s_OptionGetPreviewMode, interaction, result)
        .Run([](Interaction* target, ResultType&) { return target->GetPreviewMode(); });
}

QEL_API_REPLAYABLE_CALL(DebugGetPreviewEntities, ApiCallQuery);
bool DebugGetPreviewEntities(int interaction, Array<int>* entities, ResultType* result)
{
    return Call<bool>(s_DebugGetPreviewEntities, interaction, result,
                      TagListOutput(entities, "entities"))
        .Requires([&](Interaction*) { return RefusedUnless(entities != nullptr); })
        .Run([](Interaction* target, ResultType& status, Array<int>* list) {
            SolutionChangeData data;
            if (!target->GetCopyOfCachedSolutionChangeData(data) || data.IsEmpty()) {
                status = ResultTypeBadArgument;
                return false;
            }
            for (const auto& change : data.GetChanges())
                list->Add(change.first);
            return true;
        });
}

QEL_API_REPLAYABLE_CALL(DebugGetEntityPreviewTransform, ApiCallQuery);
bool DebugGetEntityPreviewTransform(int interaction, int entity, double transform[4][4],
                                    ResultType* result)
{
    // The matrix is journalled only when the query wrote it.
    bool moved = false;
    return Call<bool>(s_DebugGetEntityPreviewTransform, interaction, result,
                      PreviewEntityArg(entity))
        .Requires([&](Interaction*) { return RefusedUnless(transform != nullptr); })
        .Outputs([&](JournalArguments& journal) {
            if (moved)
                journal.WriteJournalArgTransform(transform, "transform");
        })
        .Run([&](Interaction* target, ResultType& status, int of) {
            EntitySolutionChange change;
            if (!FindPreviewChange(target, of, change, status))
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
    bool written = false;
    return Call<bool>(s_DebugGetEntityPreviewRadius, interaction, result, PreviewEntityArg(entity),
                      PointerOutput(majorRadiusChanged, "majorRadiusChanged", written),
                      PointerOutput(majorRadiusNewValue, "majorRadiusNewValue", written),
                      PointerOutput(minorRadiusChanged, "minorRadiusChanged", written),
                      PointerOutput(minorRadiusNewValue, "minorRadiusNewValue", written))
        .Run([&](Interaction* target, ResultType& status, int of, bool* majorChanged, double* major,
                 bool* minorChanged, double* minor) {
            EntitySolutionChange change;
            if (!FindPreviewChange(target, of, change, status))
                return false;
            written = true;
            *majorChanged = change.HasRadius();
            *major = change.GetRadius();
            *minorChanged = change.HasMinorRadius();
            *minor = change.GetMinorRadius();
            return change.HasRadius() || change.HasMinorRadius();
        });
}

QEL_API_REPLAYABLE_CALL(DebugGetEntityPreviewReblend, ApiCallQuery);
bool DebugGetEntityPreviewReblend(int interaction, int entity, double* newRadius,
                                  ResultType* result)
{
    return PreviewValue(s_DebugGetEntityPreviewReblend, interaction, entity, newRadius, "newRadius",
                        &EntitySolutionChange::HasReblend, &EntitySolutionChange::GetReblend,
                        result);
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
