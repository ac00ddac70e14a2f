#include "api/QelRelationApi.h"

#include "api/ApiLookups.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"

#include <vector>

namespace QEL {

namespace {

Relation* RelationOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(interaction->FindRelationFromTag(tag), status);
}

std::function<void(JournalArguments&)> JournalRelation(const int& relation)
{
    return [&relation](JournalArguments& journal) { journal.WriteJournalArgRelationTag(relation, "relation"); };
}

std::function<void(JournalArguments&)> JournalRelationAndReference(const int& relation, const int& reference)
{
    return [&relation, &reference](JournalArguments& journal) {
        journal.WriteJournalArgRelationTag(relation, "relation");
        journal.WriteJournalArgReferenceTag(reference, "reference");
    };
}

std::function<ResultType(Interaction*)> CheckRelation(const int& relation)
{
    return [&relation](Interaction* target) { return CheckArgRelationTag(relation, target); };
}

ResultType CheckRelationAndReference(int relation, int reference, Interaction* target)
{
    return FirstFailure({CheckArgRelationTag(relation, target), CheckArgReferenceTag(reference, target)});
}

}  // namespace

QEL_API_REPLAYABLE_CALL(RelationGetReferenceCount, ApiCallQuery);
int RelationGetReferenceCount(int interaction, int relation, ResultType* result)
{
    return ApiCall<int>(s_RelationGetReferenceCount, interaction, result)
        .Inputs(JournalRelation(relation))
        .Checks(CheckRelation(relation))
        .Run([&](Interaction* target, ResultType& status) {
            Relation* found = RelationOrRefuse(target, relation, status);
            return found ? found->GetNumReferences() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetReference, ApiCallQuery);
int RelationGetReference(int interaction, int relation, int index, ResultType* result)
{
    return ApiCall<int>(s_RelationGetReference, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgRelationTag(relation, "relation");
            journal.WriteJournalArgInt(index, "index");
        })
        .Checks(CheckRelation(relation))
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnReferenceTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Relation* found = RelationOrRefuse(target, relation, status);
            Reference* reference = found ? found->GetReference(index) : nullptr;
            if (found && !reference)
                status = ResultTypeFail;
            return reference ? reference->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetType, ApiCallQuery);
RelationType RelationGetType(int interaction, int relation, ResultType* result)
{
    return ApiCall<RelationType>(s_RelationGetType, interaction, result)
        .Inputs(JournalRelation(relation))
        .Checks(CheckRelation(relation))
        .Run([&](Interaction* target, ResultType& status) {
            Relation* found = RelationOrRefuse(target, relation, status);
            return found ? found->GetType() : RelationType();
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetValue, ApiCallQuery);
double RelationGetValue(int interaction, int relation, ResultType* result)
{
    return ApiCall<double>(s_RelationGetValue, interaction, result)
        .Inputs(JournalRelation(relation))
        .Checks(CheckRelation(relation))
        .Run([&](Interaction* target, ResultType& status) {
            Relation* found = RelationOrRefuse(target, relation, status);
            return found ? found->GetValue() : 0.0;
        });
}

QEL_API_REPLAYABLE_CALL(RelationSetValue, 0);
void RelationSetValue(int interaction, int relation, double value, ResultType* result)
{
    ApiCall<>(s_RelationSetValue, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgRelationTag(relation, "relation");
            journal.WriteJournalArgDouble(value, "value");
        })
        .Checks(CheckRelation(relation))
        .Run([&](Interaction* target, ResultType& status) {
            if (Relation* found = RelationOrRefuse(target, relation, status))
                found->SetValue(value);
        });
}

QEL_API_REPLAYABLE_CALL(RelationSetApplicationIdentifier, 0);
void RelationSetApplicationIdentifier(int interaction, int relation, const char* appIdentifier, ResultType* result)
{
    ApiCall<>(s_RelationSetApplicationIdentifier, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgRelationTag(relation, "relation");
            journal.WriteJournalArgString(appIdentifier, "appIdentifier");
        })
        .Checks(CheckRelation(relation))
        .Run([&](Interaction* target, ResultType& status) {
            if (Relation* found = RelationOrRefuse(target, relation, status))
                found->SetApplicationString(appIdentifier);
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetApplicationIdentifier, ApiCallQuery);
const char* RelationGetApplicationIdentifier(int interaction, int relation, ResultType* result)
{
    return ApiCall<const char*>(s_RelationGetApplicationIdentifier, interaction, result)
        .Inputs(JournalRelation(relation))
        .Checks(CheckRelation(relation))
        .Returns([](JournalArguments& journal, const char* text) { journal.WriteJournalReturnString(text); })
        .Run([&](Interaction* target, ResultType& status) -> const char* {
            Relation* found = RelationOrRefuse(target, relation, status);
            return found ? found->GetApplicationString() : nullptr;
        });
}

QEL_API_REPLAYABLE_CALL(RelationSetSubtype, 0);
void RelationSetSubtype(int interaction, int relation, int reference, RelationSubtype relationSubtype,
                        bool recalculateValue, ResultType* result)
{
    ApiCall<>(s_RelationSetSubtype, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            JournalRelationAndReference(relation, reference)(journal);
            journal.WriteJournalArgRelationSubtype(relationSubtype, "relationSubtype");
            journal.WriteJournalArgBool(recalculateValue, "recalculateValue");
        })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckRelationAndReference(relation, reference, target),
                                 CheckArgEnumIn0To2(relationSubtype)});
        })
        .Run([&](Interaction* target, ResultType& status) {
            Relation* found = RelationOrRefuse(target, relation, status);
            Reference* held = found ? FoundOrRefuse(target->FindReferenceFromTag(reference), status) : nullptr;
            if (held && !found->SetRelationSubtype(held, relationSubtype, recalculateValue))
                status = ResultTypeNotSupported;
        });
}

QEL_API_REPLAYABLE_CALL(RelationGetSubtype, ApiCallQuery);
RelationSubtype RelationGetSubtype(int interaction, int relation, int reference, ResultType* result)
{
    return ApiCall<RelationSubtype>(s_RelationGetSubtype, interaction, result)
        .Inputs(JournalRelationAndReference(relation, reference))
        .Checks([&](Interaction* target) { return CheckRelationAndReference(relation, reference, target); })
        .Run([&](Interaction* target, ResultType& status) {
            Relation* found = RelationOrRefuse(target, relation, status);
            Reference* held = found ? FoundOrRefuse(target->FindReferenceFromTag(reference), status) : nullptr;
            return held ? found->GetRelationSubtype(held) : RelationSubtypeBoundary;
        });
}

QEL_API_REPLAYABLE_CALL(GetRelationCount, ApiCallQuery);
int GetRelationCount(int interaction, ResultType* result)
{
    return ApiCall<int>(s_GetRelationCount, interaction, result).Run([](Interaction* target, ResultType&) {
        return target->GetRelationCount();
    });
}

QEL_API_REPLAYABLE_CALL(GetRelation, ApiCallQuery);
int GetRelation(int interaction, int index, ResultType* result)
{
    return ApiCall<int>(s_GetRelation, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgInt(index, "index"); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnRelationTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Relation* relation = target->GetRelation(index);
            if (!relation)
                status = ResultTypeFail;
            return relation ? relation->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(CreateRelation, 0);
int CreateRelation(int interaction, RelationType type, const Array<int>& references, ResultType* result)
{
    return ApiCall<int>(s_CreateRelation, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgRelationType(type, "type");
            journal.WriteJournalArgTagArray(GetArrayVector(references), "references");
        })
        .Checks([&](Interaction* target) { return CheckArgReferenceArray(references, target); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnRelationTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            std::vector<Reference*> found;
            for (int tag : GetArrayVector(references)) {
                Reference* reference = FoundOrRefuse(target->FindReferenceFromTag(tag), status);
                if (!reference)
                    return 0;
                found.push_back(reference);
            }
            Relation* relation = Relation::Create(target, type, found);
            if (!relation) {
                status = ResultTypeFail;
                return 0;
            }
            return relation->GetTag();
        });
}

}  // namespace QEL
