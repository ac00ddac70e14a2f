#include "api/model/QelReferenceApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiTagLists.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"

namespace QEL {

QEL_API_REPLAYABLE_CALL(CreateReference, 0);
int CreateReference(int interaction, int entity, int instance, ResultType* result)
{
    return Call<int>(s_CreateReference, interaction, result,
                     EntityArg(entity, "entity", CheckArgReferenceEntityTag),
                     InstanceArg(instance, "instance").Optional())
        .ReturnsTag("ReferenceTag")
        .Run([](Interaction* target, ResultType& status, int of, Instance* placed) {
            return TagOrFail(Reference::Create(target, of, placed), status);
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceGetInstance, ApiCallQuery);
int ReferenceGetInstance(int interaction, int reference, ResultType* result)
{
    return Call<int>(s_ReferenceGetInstance, interaction, result,
                     ReferenceArg(reference, "reference"))
        .ReturnsTag("InstanceTag")
        .Run([](Interaction*, ResultType&, Reference* found) {
            return found->GetInstance() ? found->GetInstance()->GetTag() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceGetEntity, ApiCallQuery);
int ReferenceGetEntity(int interaction, int reference, ResultType* result)
{
    return Call<int>(s_ReferenceGetEntity, interaction, result,
                     ReferenceArg(reference, "reference"))
        .ReturnsTag("EntityTag")
        .Run([](Interaction*, ResultType&, Reference* found) { return found->GetEntityTag(); });
}

QEL_API_REPLAYABLE_CALL(ReferenceSetBehaviour, 0);
void ReferenceSetBehaviour(int interaction, int reference, ReferenceBehaviour behaviour,
                           ResultType* result)
{
    Call(s_ReferenceSetBehaviour, interaction, result, ReferenceArg(reference, "reference"),
         EnumArg<ReferenceBehaviour>(behaviour, "behaviour"))
        // Read only once the number has been found to name a behaviour.
        .Checks([&](Interaction* target) {
            return CheckArgReferenceBehaviour(reference, behaviour, target);
        })
        .Run([](Interaction*, ResultType&, Reference* found, ReferenceBehaviour to) {
            found->SetBehaviour(to);
        });
}

QEL_API_REPLAYABLE_CALL(ReferenceGetBehaviour, ApiCallQuery);
ReferenceBehaviour ReferenceGetBehaviour(int interaction, int reference, ResultType* result)
{
    return Call<ReferenceBehaviour>(s_ReferenceGetBehaviour, interaction, result,
                                    ReferenceArg(reference, "reference"))
        .Run([](Interaction*, ResultType&, Reference* found) { return found->GetBehaviour(); });
}

QEL_API_REPLAYABLE_CALL(EntityGetBehaviour, ApiCallQuery);
ReferenceBehaviour EntityGetBehaviour(int interaction, int entity, ResultType* result)
{
    return Call<ReferenceBehaviour>(s_EntityGetBehaviour, interaction, result,
                                    EntityArg(entity, "entity", CheckArgReferenceEntityTag))
        .Run([](Interaction* target, ResultType&, int of) {
            ReferenceBehaviour behaviour = ReferenceBehaviourModelling;
            Reference::FindBehaviourForEntity(target, of, behaviour);
            return behaviour;
        });
}

QEL_API_REPLAYABLE_CALL(GetReferences, ApiCallQuery);
int GetReferences(int interaction, Array<int>* references, ResultType* result)
{
    return Call<int>(s_GetReferences, interaction, result, TagListOutput(references, "references"))
        .Run([](Interaction* target, ResultType&, Array<int>* list) {
            std::set<Reference*, TaggedEntityPtrLessThan> all;
            target->GetAllReferences(all);
            return ListTags(list, TagListMode::Replace, all,
                            [](Reference* reference) { return reference->GetTag(); });
        });
}

}  // namespace QEL
