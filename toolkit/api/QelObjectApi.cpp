#include "api/QelObjectApi.h"

#include "api/ApiLookups.h"
#include "api/ApiTagLists.h"
#include "api/ApiCallRows.h"
#include "core/frame/ArgumentChecks.h"
#include "core/objects/Interaction.h"
#include "core/frame/TagCasts.h"
#include "core/objects/TagManager.h"

#include <vector>

namespace QEL {

namespace {

TaggedEntity* ObjectOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(interaction->FindTaggedEntityFromTag(tag), status);
}

// Objects that carry application data (the interaction itself does not).
Object* DataObjectOrRefuse(Interaction* interaction, int tag, ResultType& status)
{
    return FoundOrRefuse(FindObjectFromTag(interaction, tag), status);
}

std::function<void(JournalArguments&)> JournalObjectTag(const int& tag, const char* name)
{
    return [&tag, name](JournalArguments& journal) { journal.WriteJournalArgTag(tag, name); };
}

int TagOf(TaggedEntity* entity) { return entity->GetTag(); }

}  // namespace

QEL_API_REPLAYABLE_CALL(DestroyObject, 0);
void DestroyObject(int interaction, int object, ResultType* result)
{
    ApiCall<>(s_DestroyObject, interaction, result)
        .Inputs(JournalObjectTag(object, "object"))
        .Checks([&](Interaction* target) { return CheckArgObjectTag(object, target); })
        .Run([&](Interaction* target, ResultType& status) {
            TaggedEntity* found = ObjectOrRefuse(target, object, status);
            // References leave with their instance, never on their own.
            if (found && found->GetType() == ObjectTypeReference)
                status = ResultTypeBadArgument;
            else if (found)
                found->Destroy();
        });
}

QEL_API_REPLAYABLE_CALL(GetObjectType, ApiCallQuery);
ObjectType GetObjectType(int interaction, int object, ResultType* result)
{
    return ApiCall<ObjectType>(s_GetObjectType, interaction, result)
        .Inputs(JournalObjectTag(object, "object"))
        .Checks([&](Interaction* target) { return CheckArgObjectTag(object, target); })
        .Run([&](Interaction* target, ResultType& status) {
            if (object == target->GetTag())
                return ObjectTypeInteraction;
            TaggedEntity* found = ObjectOrRefuse(target, object, status);
            return found ? found->GetType() : ObjectTypeUnknown;
        });
}

QEL_API_REPLAYABLE_CALL(ObjectFindByIdentifier, ApiCallQuery);
int ObjectFindByIdentifier(int interaction, int id, ResultType* result)
{
    return ApiCall<int>(s_ObjectFindByIdentifier, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgInt(id, "id"); })
        .Returns([](JournalArguments& journal, int tag) { journal.WriteJournalReturnEntityTag(tag); })
        .Run([&](Interaction* target, ResultType& status) {
            TaggedEntity* found = target->FindTaggedEntityById(id);
            if (!found) {
                status = ResultTypeBadArgument;
                return 0;
            }
            return found->GetTag();
        });
}

QEL_API_CALL(ObjectSetApplicationData, 0);
void ObjectSetApplicationData(int interaction, int tag, void* data, ResultType* result)
{
    ApiCall<>(s_ObjectSetApplicationData, interaction, result)
        .Inputs([&](JournalArguments& journal) {
            journal.WriteJournalArgTag(tag, "tag");
            journal.WriteJournalArgPointer(data, "data");
        })
        .Checks([&](Interaction* target) { return CheckArgTagIsObject(tag, target); })
        .Run([&](Interaction* target, ResultType& status) {
            if (Object* object = DataObjectOrRefuse(target, tag, status))
                object->SetApplicationData(data);
        });
}

QEL_API_CALL(ObjectGetApplicationData, ApiCallQuery);
void* ObjectGetApplicationData(int interaction, int tag, ResultType* result)
{
    return ApiCall<void*>(s_ObjectGetApplicationData, interaction, result)
        .Inputs(JournalObjectTag(tag, "tag"))
        .Checks([&](Interaction* target) { return CheckArgTagIsObject(tag, target); })
        .Returns([](JournalArguments& journal, void* data) { journal.WriteJournalReturnPointer(data); })
        .Run([&](Interaction* target, ResultType& status) -> void* {
            Object* object = DataObjectOrRefuse(target, tag, status);
            return object ? object->GetApplicationData() : nullptr;
        });
}

QEL_API_REPLAYABLE_CALL(ObjectGetIdentifier, ApiCallQuery);
int ObjectGetIdentifier(int interaction, int tag, ResultType* result)
{
    return ApiCall<int>(s_ObjectGetIdentifier, interaction, result)
        .Inputs(JournalObjectTag(tag, "tag"))
        .Checks([&](Interaction* target) { return CheckArgTagIsObject(tag, target); })
        .Run([&](Interaction* target, ResultType& status) {
            Object* object = DataObjectOrRefuse(target, tag, status);
            return object ? object->GetEntityId() : 0;
        });
}

QEL_API_REPLAYABLE_CALL(GetObjects, ApiCallQuery);
int GetObjects(int interaction, ObjectType objectType, Array<int>* objects, ResultType* result)
{
    return ApiCall<int>(s_GetObjects, interaction, result)
        .Inputs([&](JournalArguments& journal) { journal.WriteJournalArgObjectType(objectType, "objectType"); })
        .Checks([&](Interaction*) {
            return objectType == ObjectTypeUnknown || objectType == ObjectTypeInteraction
                       ? ResultTypeBadArgument
                       : ResultTypeOk;
        })
        .Outputs([&](JournalArguments& journal) { WriteJournalTagListOutput(journal, objects, "objects"); })
        .Run([&](Interaction* target, ResultType&) {
            std::vector<TaggedEntity*> ofType;
            for (TaggedEntity* entity : target->GetTagManager()->GetTaggedEntities())
                if (entity->GetType() == objectType)
                    ofType.push_back(entity);
            return ListTags(objects, TagListMode::Replace, ofType, TagOf);
        });
}

QEL_API_REPLAYABLE_CALL(GetAllObjects, ApiCallQuery);
int GetAllObjects(int interaction, Array<int>* objects, ResultType* result)
{
    return ApiCall<int>(s_GetAllObjects, interaction, result)
        .Outputs([&](JournalArguments& journal) { WriteJournalTagListOutput(journal, objects, "objects"); })
        .Run([&](Interaction* target, ResultType&) {
            return ListTags(objects, TagListMode::Replace, target->GetTagManager()->GetTaggedEntities(),
                            TagOf);
        });
}

}  // namespace QEL
