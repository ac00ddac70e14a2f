#include "api/QelReferenceApi.h"

#include "api/ApiLookups.h"
#include "api/ApiTagLists.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"

namespace QEL {

namespace {

Reference* ReferenceOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(interaction->FindReferenceFromTag(tag), status);
}

std::function<void(JournalArguments&)> JournalReference(const int& reference)
{
    return [&reference](JournalArguments& journal) {
        journal.WriteJournalArgReferenceTag(reference, "reference");
    };
}

std::function<ResultType(Interaction*)> CheckReference(const int& reference)
{
    return [&reference](Interaction* target) { return CheckArgReferenceTag(reference, target); };
}

}  // namespace

QEL_API_REPLAYABLE_CALL(CreateReference, 0);
int CreateReference(int interaction, int entity, int instance, ResultType* result)
{
    return ApiCall<int>(s_CreateReference, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgEntityTag(entity, "entity");
            journal.WriteJournalArgInstanceTag(instance, "instance");
        })
        .Checks([&](Interaction* target) {
            return FirstFailure({CheckArgReferenceEntityTag(entity),
                                 instance != 0 ? CheckArgInstanceTag(instance, target) : ResultTypeOk});
        })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnReferenceTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Instance* placed = nullptr;
            if (instance != 0 && !(placed = target->FindInstanceFromTag(instance))) {
                status = ResultTypeBadArgument;
                return 0;
            }
            Reference* reference = Reference::Create(target, entity, placed);
            if (!reference) {
                status = ResultTypeFail;
                return 0;
            }
            return reference->GetTag();
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceGetInstance, ApiCallQuery);
int ReferenceGetInstance(int interaction, int reference, ResultType* result)
{
    return ApiCall<int>(s_ReferenceGetInstance, interaction, result)
        .Inputs(JournalReference(reference))
        .Checks(CheckReference(reference))
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnInstanceTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Reference* found = ReferenceOrRefuse(target, reference, status);
            return found && found->GetInstance() ? found->GetInstance()->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceGetEntity, ApiCallQuery);
int ReferenceGetEntity(int interaction, int reference, ResultType* result)
{
    return ApiCall<int>(s_ReferenceGetEntity, interaction, result)
        .Inputs(JournalReference(reference))
        .Checks(CheckReference(reference))
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnEntityTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            Reference* found = ReferenceOrRefuse(target, reference, status);
            return found ? found->GetEntityTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceSetBehaviour, 0);
void ReferenceSetBehaviour(int interaction, int reference, ReferenceBehaviour behaviour,
                           ResultType* result)
{
    ApiCall<>(s_ReferenceSetBehaviour, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgReferenceTag(reference, "reference");
            journal.WriteJournalArgReferenceBehaviour(behaviour, "behaviour");
        })
        .Checks([&](Interaction* target) {
            ResultType status = CheckArgReferenceTag(reference, target);
            return status != ResultTypeOk ? status
                                          : CheckArgReferenceBehaviour(reference, behaviour, target);
        })
        .Run([&](Interaction* target, ResultType& status) {
            Reference* found = ReferenceOrRefuse(target, reference, status);
            // Only the two behaviours exist; anything else would be stored for the solver to
            // misread.
            if (found && behaviour != ReferenceBehaviourModelling &&
                behaviour != ReferenceBehaviourPositioning)
                status = ResultTypeInvalidReferenceBehaviour;
            else if (found)
                found->SetBehaviour(behaviour);
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceGetBehaviour, ApiCallQuery);
ReferenceBehaviour ReferenceGetBehaviour(int interaction, int reference, ResultType* result)
{
    return ApiCall<ReferenceBehaviour>(s_ReferenceGetBehaviour, interaction, result)
        .Inputs(JournalReference(reference))
        .Checks(CheckReference(reference))
        .Run([&](Interaction* target, ResultType& status) {
            Reference* found = ReferenceOrRefuse(target, reference, status);
            return found ? found->GetBehaviour() : ReferenceBehaviour();
        });
}

QEL_API_REPLAYABLE_CALL(EntityGetBehaviour, ApiCallQuery);
ReferenceBehaviour EntityGetBehaviour(int interaction, int entity, ResultType* result)
{
    return ApiCall<ReferenceBehaviour>(s_EntityGetBehaviour, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgEntityTag(entity, "entity"); })
        .Checks([&](Interaction*) { return CheckArgReferenceEntityTag(entity); })
        .Run([&](Interaction* target, ResultType&) {
            ReferenceBehaviour behaviour = ReferenceBehaviourModelling;
            Reference::FindBehaviourForEntity(target, entity, behaviour);
            return behaviour;
        });
}

QEL_API_REPLAYABLE_CALL(GetReferences, ApiCallQuery);
int GetReferences(int interaction, Array<int>* references, ResultType* result)
{
    return ApiCall<int>(s_GetReferences, interaction, result)
        .Outputs([&](JournalArguments& journal) {
            WriteJournalTagListOutput(journal, references, "references");
        })
        .Run([&](Interaction* target, ResultType&) {
            std::set<Reference*, TaggedEntityPtrLessThan> all;
            target->GetAllReferences(all);
            return ListTags(references, TagListMode::Replace, all,
                            [](Reference* reference) { return reference->GetTag(); });
        });
}

}  // namespace QEL
