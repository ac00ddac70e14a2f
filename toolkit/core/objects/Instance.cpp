#include "core/objects/Instance.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"
#include "core/persist/XMLIO.h"

#include <algorithm>

namespace QEL {

Instance::Instance(Interaction* interaction, int body, const double (*matrix)[4])
    : SavedObject(interaction), m_body(body)
{
    if (matrix)
        m_xform.SetFrom4x4(matrix);
    SetType(ObjectTypeInstance);
    if (interaction && body != 0)
        RecordCreated();
}

Instance::~Instance() = default;

Instance* Instance::Create(Interaction* interaction, int body, const double (*matrix)[4])
{
    // Only a body can be placed, checks on or off: anything else would stay among the seen
    // bodies and make every later save of the interaction fail.
    if (GetEntityClass(body) != KernelClassBody)
        return nullptr;
    if (interaction)
        interaction->AddSeenBody(body);
    Instance* instance = new Instance(interaction, body, matrix);
    instance->AddToInteraction();
    return instance;
}

bool Instance::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                             std::vector<InvalidityType>& codes)
{
    Object::CheckValidity(badObjects, codes);
    if (GetType() != ObjectTypeInstance) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadObject);
    }
    if (!IsEntity(m_body) || GetEntityClass(m_body) != KernelClassBody) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadBrennikEntity);
    }
    Interaction* interaction = GetInteraction();
    for (Reference* reference : m_references) {
        TaggedEntity* asEntity = reference ? UpcastEntity(reference) : nullptr;
        if (!asEntity || !interaction || !interaction->IsKnownObject(asEntity) ||
            !DowncastEntity<Reference>(asEntity)) {
            badObjects.push_back(this);
            codes.push_back(InvalidityTypeBadPointer);
        }
    }
    return badObjects.empty();
}

void Instance::CopyState(const Instance& from)
{
    m_xform = from.m_xform;
    m_body = from.m_body;
    m_references = from.m_references;
}

void Instance::Destroy()
{
    const std::list<Reference*> references = m_references;
    for (Reference* reference : references)
        if (TaggedEntity* asEntity = UpcastEntity(reference))
            asEntity->Destroy();
    TaggedEntity::Destroy();
}

bool Instance::Compare(TaggedEntity* other)
{
    if (!TaggedEntity::Compare(other))
        return false;
    Instance* instance = dynamic_cast<Instance*>(other);
    return instance && m_xform.IsEqual(instance->m_xform);
}

void Instance::RemoveReference(Reference* reference)
{
    auto found = std::find(m_references.begin(), m_references.end(), reference);
    if (found == m_references.end())
        return;
    RecordModified();
    m_references.erase(found);
}

bool Instance::DoIO(XMLIO& xmlio)
{
    if (!xmlio.BeginElement("Instance"))
        return false;
    bool done = DoIOID(xmlio);
    const int id = GetEntityId();
    int partId = 0;
    int bodyIndex = 0;
    if (done && !xmlio.IsReading())
        done = xmlio.FindBodyIDAndIndex(m_body, partId, bodyIndex);
    done = done && xmlio.DoIOIDReference("partRef", partId) && xmlio.DoIO("bodyIndex", bodyIndex);
    if (done && xmlio.IsReading()) {
        const int body = xmlio.FindBodyByIdAndIndex(partId, bodyIndex);
        if (body == 0) {
            xmlio.AddError(id, XMLErrorCodeBodyNotInMap);
            done = false;
        } else {
            m_body = body;
            if (Interaction* interaction = GetInteraction())
                interaction->AddSeenBody(body);
        }
    }
    done = done && xmlio.DoIO(m_xform, true);
    xmlio.EndElement(true);
    return done;
}

Instance* Instance::CreateFromXML(Interaction* interaction, XMLIO& xmlio)
{
    if (!xmlio.IsReading())
        return nullptr;
    Instance* instance = new Instance(interaction, 0, nullptr);
    if (!instance->DoIO(xmlio)) {
        instance->Destroy();
        return nullptr;
    }
    instance->RecordCreated();
    instance->AddToInteraction();
    return instance;
}

void Instance::SetXform(const Xform& xform)
{
    RecordModified();
    m_xform = xform;
}

void Instance::SetBodyTag(int body)
{
    RecordModified();
    if (Interaction* interaction = GetInteraction())
        interaction->AddSeenBody(body);
    m_body = body;
}

void Instance::AddReference(Reference* reference)
{
    RecordModified();
    m_references.push_back(reference);
}

Instance* Instance::TestCreateInvalid(int kind, Interaction* interaction, int body,
                                      const double (*matrix)[4], Reference* reference)
{
    if (kind < 1 || kind > 9)
        return nullptr;
    if (kind == 9) {
        Instance* detached = new Instance(nullptr, body, matrix);
        if (interaction) {
            detached->SetEntityId(interaction->NextEntityId());
            detached->SetTag(interaction->CreateTag(detached));
        }
        return detached;
    }
    Instance* instance = new Instance(interaction, body, matrix);
    switch (kind) {
        case 1:
            instance->SetType(ObjectTypeUnknown);
            break;
        case 2:
            instance->m_body = 0;
            break;
        case 4:
        case 5:
            instance->m_references.push_back(reference);
            break;
        case 6:
            instance->ReleaseTag();
            break;
        case 7:
            instance->SetEntityId(0);
            break;
        case 8:
            if (interaction)
                instance->SetEntityId(interaction->GetEntityIdCounter() + 1);
            break;
        default:
            break;
    }
    return instance;
}

void Instance::TestDestroyInvalid(int) { TaggedEntity::Destroy(); }

}  // namespace QEL
