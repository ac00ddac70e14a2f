#include "api/finding/QelRelationFindingApi.h"

#include "api/ApiCallRows.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/maths/Vec.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"
#include "replay/ReplayRegistry.h"
#include "update/finding/RelationFinder.h"
#include "update/finding/RelationFinderInputData.h"

#include <algorithm>
#include <vector>

namespace QEL {

namespace {

RelationFinder* FinderOf(Interaction* interaction, ResultType& status)
{
    RelationFinder* finder = RelationFinder::Of(interaction);
    if (!finder)
        status = ResultTypeFail;
    return finder;
}

// The groups into a find input: an instance of the interaction with its entities, else a body
// (or 0 for free geometry) with its entities. False for an empty group, which names no owner.
bool AddGeometryGroupsToFindInput(Interaction* interaction,
                                  const std::vector<std::vector<int>>& groups,
                                  RelationFinderInputData& input)
{
    for (const std::vector<int>& group : groups) {
        if (group.empty())
            return false;
        const std::vector<int> entities(group.begin() + 1, group.end());
        if (Instance* instance = interaction->FindInstanceFromTag(group.front()))
            input.AddInstanceEntities(instance, entities);
        else
            input.AddBodyEntities(group.front(), entities);
    }
    return true;
}

// The finder's found relations by tag, in increasing order.
std::vector<int> FoundRelationTags(RelationFinder* finder)
{
    std::vector<int> tags;
    if (finder)
        for (const auto& found : finder->GetFoundRelations())
            tags.push_back(found.first->GetTag());
    std::sort(tags.begin(), tags.end());
    return tags;
}

// A replayed find remakes the found relations it journals, for comparison with the record.
void RemakeFoundRelations(int interaction, std::vector<ReplayValue>& outputs)
{
    Array<int> tags;
    for (int tag :
         FoundRelationTags(RelationFinder::Of(TagManager::FindInteractionFromTag(interaction))))
        tags.Add(tag);
    outputs[0].SetTagArray(tags);
}

[[maybe_unused]] const bool s_findOutputsRegistered =
    RegisterReplayRecordedOutputs("FindGeometricRelations", 1, &RemakeFoundRelations);

}  // namespace

QEL_API_REPLAYABLE_CALL(FindGeometricRelations, 0);
void FindGeometricRelations(int interaction, Array<Array<int>>& fromData, Array<Array<int>>& toData,
                            ResultType* result)
{
    Call(s_FindGeometricRelations, interaction, result, TagListsOf(fromData, "fromData"),
         TagListsOf(toData, "toData"))
        .Checks([&](Interaction* target) {
            return FirstFailure(
                {CheckArgGeometryGroups(fromData, target), CheckArgGeometryGroups(toData, target)});
        })
        // The relations found are journalled, so a replay compares them and later records
        // that name them reach the ones it made.
        .Outputs([interaction](JournalArguments& journal) {
            journal.WriteJournalArgTagArray(FoundRelationTags(RelationFinder::Of(
                                                TagManager::FindInteractionFromTag(interaction))),
                                            "foundRelations");
        })
        .Run([](Interaction* target, ResultType& status, const std::vector<std::vector<int>>& from,
                const std::vector<std::vector<int>>& to) {
            RelationFinder* finder = FinderOf(target, status);
            if (!finder)
                return;
            RelationFinderInputData vary(target), environment(target);
            if (!AddGeometryGroupsToFindInput(target, from, vary) ||
                !AddGeometryGroupsToFindInput(target, to, environment)) {
                status = ResultTypeBadArgument;
                return;
            }
            status = finder->FindGeometricRelations(&vary, &environment);
        });
}

QEL_API_REPLAYABLE_CALL(GetFoundRelations, ApiCallQuery);
int GetFoundRelations(int interaction, Array<int>* relations, ResultType* result)
{
    return Call<int>(s_GetFoundRelations, interaction, result,
                     TagListOutput(relations, "relations"))
        .Run([](Interaction* target, ResultType& status, Array<int>* out) {
            RelationFinder* finder = FinderOf(target, status);
            if (!finder)
                return 0;
            const std::vector<int> tags = FoundRelationTags(finder);
            if (out) {
                out->Reserve(out->GetSize() + static_cast<int>(tags.size()));
                for (int tag : tags)
                    out->Add(tag);
            }
            return static_cast<int>(tags.size());
        });
}

QEL_API_REPLAYABLE_CALL(GetFoundRelationLevel, ApiCallQuery);
int GetFoundRelationLevel(int interaction, int relation, ResultType* result)
{
    return Call<int>(s_GetFoundRelationLevel, interaction, result,
                     RelationArg(relation, "relation"))
        .Run([](Interaction* target, ResultType& status, Relation* found) {
            RelationFinder* finder = FinderOf(target, status);
            return finder ? finder->GetFoundRelationLevel(found) : 0;
        });
}

QEL_API_REPLAYABLE_CALL(ClearFoundRelations, 0);
void ClearFoundRelations(int interaction, bool deleteRelations, ResultType* result)
{
    Call(s_ClearFoundRelations, interaction, result, BoolArg(deleteRelations, "deleteRelations"))
        .Run([](Interaction* target, ResultType& status, bool destroy) {
            if (RelationFinder* finder = FinderOf(target, status))
                finder->ClearFoundRelations(destroy);
        });
}

QEL_API_REPLAYABLE_CALL(GeomUtilsGetIntersectionPointOf3Faces, ApiCallProcessWide);
bool GeomUtilsGetIntersectionPointOf3Faces(Array<int>& faces, double* initialPoint,
                                           double* intersectionPoint, ResultType* result)
{
    // The point found is written after the call, so the record holds the answer.
    return ProcessCall<bool>(s_GeomUtilsGetIntersectionPointOf3Faces, result,
                             TagListArg(faces, "faces"), DoublesAt(initialPoint, 3, "initialPoint"))
        .Requires([intersectionPoint, &faces](Interaction*) {
            return RefusedUnless(intersectionPoint != nullptr && faces.GetSize() == 3);
        })
        .Outputs([intersectionPoint](JournalArguments& journal) {
            journal.WriteJournalArgDoubleBuffer(intersectionPoint, 3, "intersectionPoint");
        })
        .Run([intersectionPoint](Interaction*, ResultType& status, const std::vector<int>& tags,
                                 const double* seed) {
            Vec point(seed[0], seed[1], seed[2]);
            PivotVertexData pivot;
            if (VirtualVertexFoundation::s_makeVirtualVertexData(tags, point, &pivot)) {
                std::copy(pivot.m_point, pivot.m_point + 3, intersectionPoint);
                return true;
            }
            std::copy(seed, seed + 3, intersectionPoint);
            status = ResultTypeFail;
            return false;
        });
}

}  // namespace QEL
