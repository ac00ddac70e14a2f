#include "api/model/QelRelationApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiLookups.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"

#include <vector>

namespace QEL {

QEL_API_REPLAYABLE_CALL(RelationGetReferenceCount, ApiCallQuery);
int RelationGetReferenceCount(int interaction, int relation, ResultType* result)
{
    return Call<int>(s_RelationGetReferenceCount, interaction, result,
                     RelationArg(relation, "relation"))
        .Run([](Interaction*, ResultType&, Relation* found) { return found->GetNumReferences(); });
}

QEL_API_REPLAYABLE_CALL(RelationGetReference, ApiCallQuery);
int RelationGetReference(int interaction, int relation, int index, ResultType* result)
{
    return Call<int>(s_RelationGetReference, interaction, result, RelationArg(relation, "relation"),
                     IntArg(index, "index"))
        .ReturnsTag("ReferenceTag")
        .Run([](Interaction*, ResultType& status, Relation* found, int at) {
            return TagOrFail(found->GetReference(at), status);
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetType, ApiCallQuery);
RelationType RelationGetType(int interaction, int relation, ResultType* result)
{
    return Call<RelationType>(s_RelationGetType, interaction, result,
                              RelationArg(relation, "relation"))
        .Run([](Interaction*, ResultType&, Relation* found) { return found->GetType(); });
}

QEL_API_REPLAYABLE_CALL(RelationGetValue, ApiCallQuery);
double RelationGetValue(int interaction, int relation, ResultType* result)
{
    return Call<double>(s_RelationGetValue, interaction, result, RelationArg(relation, "relation"))
        .Run([](Interaction*, ResultType&, Relation* found) { return found->GetValue(); });
}

QEL_API_REPLAYABLE_CALL(RelationSetValue, 0);
void RelationSetValue(int interaction, int relation, double value, ResultType* result)
{
    Call(s_RelationSetValue, interaction, result, RelationArg(relation, "relation"),
         DoubleArg(value, "value"))
        .Run([](Interaction*, ResultType&, Relation* found, double to) { found->SetValue(to); });
}

QEL_API_REPLAYABLE_CALL(RelationSetApplicationIdentifier, 0);
void RelationSetApplicationIdentifier(int interaction, int relation, const char* appIdentifier,
                                      ResultType* result)
{
    Call(s_RelationSetApplicationIdentifier, interaction, result, RelationArg(relation, "relation"),
         TextArg(appIdentifier, "appIdentifier"))
        .Run([](Interaction*, ResultType&, Relation* found, const char* text) {
            found->SetApplicationString(text);
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetApplicationIdentifier, ApiCallQuery);
const char* RelationGetApplicationIdentifier(int interaction, int relation, ResultType* result)
{
    return Call<const char*>(s_RelationGetApplicationIdentifier, interaction, result,
                             RelationArg(relation, "relation"))
        .Returns([](JournalArguments& journal, const char* text) {
            journal.WriteJournalReturnString(text);
        })
        .Run([](Interaction*, ResultType&, Relation* found) -> const char* {
            return found->GetApplicationString();
        });
}

QEL_API_REPLAYABLE_CALL(RelationSetSubtype, 0);
void RelationSetSubtype(int interaction, int relation, int reference,
                        RelationSubtype relationSubtype, bool recalculateValue, ResultType* result)
{
    Call(s_RelationSetSubtype, interaction, result, RelationArg(relation, "relation"),
         ReferenceArg(reference, "reference"),
         EnumArg<RelationSubtype>(relationSubtype, "relationSubtype"),
         BoolArg(recalculateValue, "recalculateValue"))
        .Run([](Interaction*, ResultType& status, Relation* found, Reference* held,
                RelationSubtype subtype, bool recalculate) {
            if (!found->SetRelationSubtype(held, subtype, recalculate))
                status = ResultTypeNotSupported;
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetSubtype, ApiCallQuery);
RelationSubtype RelationGetSubtype(int interaction, int relation, int reference, ResultType* result)
{
    return Call<RelationSubtype>(s_RelationGetSubtype, interaction, result,
                                 RelationArg(relation, "relation"),
                                 ReferenceArg(reference, "reference"))
        .Run([](Interaction*, ResultType&, Relation* found, Reference* held) {
            return found->GetRelationSubtype(held);
        });
}

QEL_API_REPLAYABLE_CALL(GetRelationCount, ApiCallQuery);
int GetRelationCount(int interaction, ResultType* result)
{
    return CountCall(s_GetRelationCount, interaction, result, &Interaction::GetRelationCount);
}

QEL_API_REPLAYABLE_CALL(GetRelation, ApiCallQuery);
int GetRelation(int interaction, int index, ResultType* result)
{
    return IndexedTagCall(s_GetRelation, interaction, index, "RelationTag",
                          &Interaction::GetRelation, result);
}

QEL_API_REPLAYABLE_CALL(CreateRelation, 0);
int CreateRelation(int interaction, RelationType type, const Array<int>& references,
                   ResultType* result)
{
    return Call<int>(s_CreateRelation, interaction, result, EnumArg<RelationType>(type, "type"),
                     TagListArg(references, "references"))
        .Requires([&](Interaction* target) { return CheckArgReferenceArray(references, target); })
        .ReturnsTag("RelationTag")
        .Run([](Interaction* target, ResultType& status, RelationType relationType,
                const std::vector<int>& tags) {
            std::vector<Reference*> found;
            for (int tag : tags)
                found.push_back(target->FindReferenceFromTag(tag));
            return TagOrFail(Relation::Create(target, relationType, found), status);
        });
}

}  // namespace QEL
