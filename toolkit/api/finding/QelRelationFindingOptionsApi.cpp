#include "api/finding/QelRelationFindingOptionsApi.h"

#include "api/ApiCallRows.h"
#include "api/finding/FinderFlagCalls.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "update/finding/RelationFinder.h"

namespace QEL {

namespace {

// One of the reference lists replaced: every tag must name a reference, with checks on or
// off, so that no list ever holds an empty entry.
void SetFinderList(const ApiCallProperties& call, int interaction, Array<int>& tags,
                   const char* name, ResultType (*check)(const Array<int>&, Interaction*),
                   void (RelationFinder::*setter)(const std::vector<Reference*>&),
                   ResultType* result)
{
    Call(call, interaction, result, TagListArg(tags, name))
        .Checks([&tags, check](Interaction* target) { return check(tags, target); })
        .Run([setter](Interaction* target, ResultType& status, const std::vector<int>& list) {
            RelationFinder* finder = FinderOf(target, status);
            if (!finder)
                return;
            std::vector<Reference*> references;
            for (int tag : list) {
                Reference* reference = CastTagToReference(target, tag);
                if (!reference) {
                    status = ResultTypeBadArgument;
                    return;
                }
                references.push_back(reference);
            }
            (finder->*setter)(references);
        });
}

// One of the reference lists read: its length, and its tags into a given array.
int GetFinderList(const ApiCallProperties& call, int interaction, Array<int>* tags,
                  const char* name,
                  const std::vector<Reference*>& (RelationFinder::*getter)() const,
                  ResultType* result)
{
    return Call<int>(call, interaction, result, TagListOutput(tags, name))
        .Run([getter](Interaction* target, ResultType& status, Array<int>* out) {
            RelationFinder* finder = FinderOf(target, status);
            if (!finder)
                return 0;
            const std::vector<Reference*>& list = (finder->*getter)();
            if (out) {
                out->RemoveAll();
                for (Reference* reference : list)
                    out->Add(reference->GetTag());
            }
            return static_cast<int>(list.size());
        });
}

}  // namespace

QEL_API_REPLAYABLE_CALL(OptionSetFindRelationsData, 0);
void OptionSetFindRelationsData(int interaction, FindRelationType relationType,
                                FindGeometryType fromGeometryType, FindGeometryType toGeometryType,
                                int propagationLevel, ResultType* result)
{
    Call(s_OptionSetFindRelationsData, interaction, result,
         EnumArg<FindRelationType>(relationType, "relationType"),
         EnumArg<FindGeometryType>(fromGeometryType, "fromGeometryType"),
         EnumArg<FindGeometryType>(toGeometryType, "toGeometryType"),
         IntArg(propagationLevel, "propagationLevel"))
        .Requires([propagationLevel](Interaction*) { return RefusedUnless(propagationLevel >= 0); })
        .Run([](Interaction* target, ResultType& status, FindRelationType relation,
                FindGeometryType from, FindGeometryType to, int level) {
            RelationFinder* finder = FinderOf(target, status);
            if (finder && finder->SetRelationGeometryOption(relation, from, to, level) == -1)
                status = ResultTypeNotSupported;
        });
}

QEL_API_REPLAYABLE_CALL(OptionGetFindRelationsData, ApiCallQuery);
int OptionGetFindRelationsData(int interaction, FindRelationType relationType,
                               FindGeometryType fromGeometryType, FindGeometryType toGeometryType,
                               ResultType* result)
{
    return Call<int>(s_OptionGetFindRelationsData, interaction, result,
                     EnumArg<FindRelationType>(relationType, "relationType"),
                     EnumArg<FindGeometryType>(fromGeometryType, "fromGeometryType"),
                     EnumArg<FindGeometryType>(toGeometryType, "toGeometryType"))
        .Run([](Interaction* target, ResultType& status, FindRelationType relation,
                FindGeometryType from, FindGeometryType to) {
            RelationFinder* finder = FinderOf(target, status);
            const int level = finder ? finder->GetRelationGeometryOption(relation, from, to) : -1;
            if (finder && level == -1)
                status = ResultTypeNotSupported;
            return level;
        });
}

QEL_API_REPLAYABLE_CALL(OptionResetAllFindRelationsData, 0);
void OptionResetAllFindRelationsData(int interaction, ResultType* result)
{
    Call(s_OptionResetAllFindRelationsData, interaction, result)
        .Run([](Interaction* target, ResultType& status) {
            if (RelationFinder* finder = FinderOf(target, status))
                finder->ResetRelationGeometryOptions();
        });
}

QEL_API_REPLAYABLE_CALL(OptionSetFindSimilarGeometryMatchAxes, 0);
void OptionSetFindSimilarGeometryMatchAxes(int interaction, bool matchAxes, ResultType* result)
{
    SetFinderFlag(s_OptionSetFindSimilarGeometryMatchAxes, interaction, matchAxes, "matchAxes",
                  &RelationFinder::SetSimilarGeometryMatchAxes, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetFindSimilarGeometryMatchAxes, ApiCallQuery);
bool OptionGetFindSimilarGeometryMatchAxes(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetFindSimilarGeometryMatchAxes, interaction,
                         &RelationFinder::GetSimilarGeometryMatchAxes, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetFindSymmetryMatchExact, 0);
void OptionSetFindSymmetryMatchExact(int interaction, bool matchExact, ResultType* result)
{
    SetFinderFlag(s_OptionSetFindSymmetryMatchExact, interaction, matchExact, "matchExact",
                  &RelationFinder::SetSymmetryMatchExact, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetFindSymmetryMatchExact, ApiCallQuery);
bool OptionGetFindSymmetryMatchExact(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetFindSymmetryMatchExact, interaction,
                         &RelationFinder::GetSymmetryMatchExact, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetFindCreateRelations, 0);
void OptionSetFindCreateRelations(int interaction, bool createRelations, ResultType* result)
{
    SetFinderFlag(s_OptionSetFindCreateRelations, interaction, createRelations, "createRelations",
                  &RelationFinder::SetCreateRelations, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetFindCreateRelations, ApiCallQuery);
bool OptionGetFindCreateRelations(int interaction, ResultType* result)
{
    return GetFinderFlag(s_OptionGetFindCreateRelations, interaction,
                         &RelationFinder::GetCreateRelations, result);
}

// Application code cannot be replayed: the call is journalled but not registered.
QEL_API_CALL(OptionSetFindAcceptRelationCallback, 0);
void OptionSetFindAcceptRelationCallback(int interaction, FindAcceptRelationFunction function,
                                         ResultType* result)
{
    Call(s_OptionSetFindAcceptRelationCallback, interaction, result,
         PointerArg(reinterpret_cast<const void*>(function), "function"))
        .Run([function](Interaction* target, ResultType& status, const void*) {
            if (RelationFinder* finder = FinderOf(target, status))
                finder->SetAcceptRelationCallback(function);
        });
}

QEL_API_CALL(OptionGetFindAcceptRelationCallback, ApiCallQuery);
FindAcceptRelationFunction OptionGetFindAcceptRelationCallback(int interaction, ResultType* result)
{
    return Call<FindAcceptRelationFunction>(s_OptionGetFindAcceptRelationCallback, interaction,
                                            result)
        .Returns([](JournalArguments& journal, FindAcceptRelationFunction function) {
            journal.WriteJournalReturnPointer(reinterpret_cast<const void*>(function));
        })
        .Run([](Interaction* target, ResultType& status) -> FindAcceptRelationFunction {
            RelationFinder* finder = FinderOf(target, status);
            return finder ? finder->GetAcceptRelationCallback() : nullptr;
        });
}

QEL_API_REPLAYABLE_CALL(OptionSetFindSymmetryPlanes, 0);
void OptionSetFindSymmetryPlanes(int interaction, Array<int>& symmetryPlanes, ResultType* result)
{
    SetFinderList(s_OptionSetFindSymmetryPlanes, interaction, symmetryPlanes, "symmetryPlanes",
                  &CheckArgTagsArePlaneReferences, &RelationFinder::SetSymmetryPlanes, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetFindCoPlaxisReferences, 0);
void OptionSetFindCoPlaxisReferences(int interaction, Array<int>& coPlaxisReferences,
                                     ResultType* result)
{
    SetFinderList(s_OptionSetFindCoPlaxisReferences, interaction, coPlaxisReferences,
                  "coPlaxisReferences", &CheckArgTagsArePlaneOrLineReferences,
                  &RelationFinder::SetCoPlaxisReferences, result);
}

QEL_API_REPLAYABLE_CALL(OptionSetFindPrinciplePlanes, 0);
void OptionSetFindPrinciplePlanes(int interaction, Array<int>& principlePlanes, ResultType* result)
{
    SetFinderList(s_OptionSetFindPrinciplePlanes, interaction, principlePlanes, "principlePlanes",
                  &CheckArgTagsArePlaneReferences, &RelationFinder::SetPrinciplePlanes, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetFindSymmetryPlanes, ApiCallQuery);
int OptionGetFindSymmetryPlanes(int interaction, Array<int>* symmetryPlanes, ResultType* result)
{
    return GetFinderList(s_OptionGetFindSymmetryPlanes, interaction, symmetryPlanes,
                         "symmetryPlanes", &RelationFinder::GetSymmetryPlanes, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetFindCoPlaxisReferences, ApiCallQuery);
int OptionGetFindCoPlaxisReferences(int interaction, Array<int>* coPlaxisReferences,
                                    ResultType* result)
{
    return GetFinderList(s_OptionGetFindCoPlaxisReferences, interaction, coPlaxisReferences,
                         "coPlaxisReferences", &RelationFinder::GetCoPlaxisReferences, result);
}

QEL_API_REPLAYABLE_CALL(OptionGetFindPrinciplePlanes, ApiCallQuery);
int OptionGetFindPrinciplePlanes(int interaction, Array<int>* principlePlanes, ResultType* result)
{
    return GetFinderList(s_OptionGetFindPrinciplePlanes, interaction, principlePlanes,
                         "principlePlanes", &RelationFinder::GetPrinciplePlanes, result);
}

}  // namespace QEL
