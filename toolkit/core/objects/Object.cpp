#include "core/objects/Object.h"

#include "core/objects/EntityCasts.h"
#include "core/objects/Interaction.h"
#include "core/persist/XMLIO.h"

namespace QEL {

bool Object::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                           std::vector<InvalidityType>& codes)
{
    TaggedEntity::CheckValidity(badObjects, codes);
    return badObjects.empty();
}

void Object::RemoveReference(Reference*) {}

void Object::SetApplicationData(void* data)
{
    RecordModified();
    m_applicationData = data;
}

bool Object::CheckReferencePointerValidity(Reference* held, std::vector<TaggedEntity*>& badObjects,
                                           std::vector<InvalidityType>& codes)
{
    if (held) {
        Interaction* interaction = GetInteraction();
        TaggedEntity* asEntity = UpcastEntity(held);
        if (!interaction || !interaction->IsKnownObject(asEntity) ||
            !DowncastEntity<Reference>(asEntity)) {
            badObjects.push_back(this);
            codes.push_back(InvalidityTypeBadPointer);
        }
    }
    return badObjects.empty();
}

bool SerializableObject::DoIOID(XMLIO& xmlio)
{
    int id = GetEntityId();
    const bool done = xmlio.DoIOID(id, true);
    if (done && xmlio.IsReading())
        SetEntityId(id);
    return done;
}

}  // namespace QEL
