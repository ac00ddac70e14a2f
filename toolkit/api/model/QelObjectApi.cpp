#include "api/model/QelObjectApi.h"

#include "api/ApiCallRows.h"
#include "api/ApiTagLists.h"
#include "core/frame/ApiArguments.h"
#include "core/frame/ArgumentChecks.h"
#include "core/frame/TagCasts.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"

#include <vector>

namespace QEL {

namespace {

// Objects that carry application data (the interaction itself does not).
ObjectArg<Object> DataObjectArg(int tag, const char* name)
{
    return {{name}, tag, "Tag", FindObjectFromTag};
}

TaggedEntity* FindTaggedArg(Interaction* interaction, int tag)
{
    return interaction->FindTaggedEntityFromTag(tag);
}

int TagOf(TaggedEntity* entity) { return entity->GetTag(); }

}  // namespace

QEL_API_REPLAYABLE_CALL(DestroyObject, 0);
void DestroyObject(int interaction, int object, ResultType* result)
{
    Call(s_DestroyObject, interaction, result, ObjectTagArg(object, "object", CheckArgObjectTag))
        .Run([](Interaction* target, ResultType& status, int tag) {
            TaggedEntity* found = FindTaggedArg(target, tag);
            // References leave with their instance, never on their own.
            if (!found || found->GetType() == ObjectTypeReference)
                status = ResultTypeBadArgument;
            else
                found->Destroy();
        });
}

QEL_API_REPLAYABLE_CALL(GetObjectType, ApiCallQuery);
ObjectType GetObjectType(int interaction, int object, ResultType* result)
{
    return Call<ObjectType>(s_GetObjectType, interaction, result,
                            ObjectTagArg(object, "object", CheckArgObjectTag))
        .Run([](Interaction* target, ResultType& status, int tag) {
            if (tag == target->GetTag())
                return ObjectTypeInteraction;
            TaggedEntity* found = FindTaggedArg(target, tag);
            if (!found)
                status = ResultTypeBadArgument;
            return found ? found->GetType() : ObjectTypeUnknown;
        });
}

QEL_API_REPLAYABLE_CALL(ObjectFindByIdentifier, ApiCallQuery);
int ObjectFindByIdentifier(int interaction, int id, ResultType* result)
{
    return Call<int>(s_ObjectFindByIdentifier, interaction, result, IntArg(id, "id"))
        .ReturnsTag("EntityTag")
        .Run([](Interaction* target, ResultType& status, int identifier) {
            TaggedEntity* found = target->FindTaggedEntityById(identifier);
            if (!found)
                status = ResultTypeBadArgument;
            return found ? found->GetTag() : 0;
        });
}

QEL_API_CALL(ObjectSetApplicationData, 0);
void ObjectSetApplicationData(int interaction, int tag, void* data, ResultType* result)
{
    Call(s_ObjectSetApplicationData, interaction, result, DataObjectArg(tag, "tag"),
         PointerArg(data, "data"))
        .Run([data](Interaction*, ResultType&, Object* object, const void*) {
            object->SetApplicationData(data);
        });
}

QEL_API_CALL(ObjectGetApplicationData, ApiCallQuery);
void* ObjectGetApplicationData(int interaction, int tag, ResultType* result)
{
    return Call<void*>(s_ObjectGetApplicationData, interaction, result, DataObjectArg(tag, "tag"))
        .Returns(
            [](JournalArguments& journal, void* data) { journal.WriteJournalReturnPointer(data); })
        .Run(
            [](Interaction*, ResultType&, Object* object) { return object->GetApplicationData(); });
}

QEL_API_REPLAYABLE_CALL(ObjectGetIdentifier, ApiCallQuery);
int ObjectGetIdentifier(int interaction, int tag, ResultType* result)
{
    return Call<int>(s_ObjectGetIdentifier, interaction, result, DataObjectArg(tag, "tag"))
        .Run([](Interaction*, ResultType&, Object* object) { return object->GetEntityId(); });
}

QEL_API_REPLAYABLE_CALL(GetObjects, ApiCallQuery);
int GetObjects(int interaction, ObjectType objectType, Array<int>* objects, ResultType* result)
{
    return Call<int>(s_GetObjects, interaction, result,
                     EnumArg<ObjectType>(objectType, "objectType"),
                     TagListOutput(objects, "objects"))
        .Checks([&](Interaction*) {
            // Read only once the number has been found to name a type.
            return RefusedUnless(objectType != ObjectTypeUnknown &&
                                 objectType != ObjectTypeInteraction);
        })
        .Run([](Interaction* target, ResultType&, ObjectType type, Array<int>* list) {
            std::vector<TaggedEntity*> ofType;
            for (TaggedEntity* entity : target->GetTagManager()->GetTaggedEntities())
                if (entity->GetType() == type)
                    ofType.push_back(entity);
            return ListTags(list, TagListMode::Replace, ofType, TagOf);
        });
}

QEL_API_REPLAYABLE_CALL(GetAllObjects, ApiCallQuery);
int GetAllObjects(int interaction, Array<int>* objects, ResultType* result)
{
    return Call<int>(s_GetAllObjects, interaction, result, TagListOutput(objects, "objects"))
        .Run([](Interaction* target, ResultType&, Array<int>* list) {
            return ListTags(list, TagListMode::Replace,
                            target->GetTagManager()->GetTaggedEntities(), TagOf);
        });
}

}  // namespace QEL
