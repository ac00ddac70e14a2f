#include "core/objects/TaggedEntity.h"

#include "core/objects/Interaction.h"
#include "core/objects/TagManager.h"

#include <brennik.h>

namespace QEL {

TaggedEntity::TaggedEntity(Interaction* interaction) : m_interaction(interaction)
{
    if (m_interaction) {
        m_tag = m_interaction->CreateTag(this);
        m_entityId = m_interaction->NextEntityId();
        if (m_tag != 0 && m_interaction->GetTagManager())
            m_interaction->GetTagManager()->RegisterEntity(this);
    }
    AddRef();
}

TaggedEntity::~TaggedEntity() { ReleaseTag(); }

void TaggedEntity::ReleaseTag()
{
    if (m_tag == 0)
        return;
    BQ_APPITEM_delete(1, &m_tag);
    if (m_interaction && m_interaction->GetTagManager())
        m_interaction->GetTagManager()->UnregisterEntity(this);
    m_tag = 0;
}

void TaggedEntity::SetTag(int tag)
{
    if (m_tag == 0)
        m_tag = tag;
}

bool TaggedEntity::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                                 std::vector<InvalidityType>& codes)
{
    RollableEntity::CheckValidity(badObjects, codes);
    bool isItem = false;
    if (m_tag == 0 || BQ_APPITEM_is(m_tag, &isItem) != BQ_ERROR_no_errors || !isItem) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadObject);
    }
    switch (m_type) {
        case ObjectTypeInstance:
        case ObjectTypeReference:
        case ObjectTypeRelation:
        case ObjectTypeFeature:
        case ObjectTypeSection:
            if (m_entityId == 0 ||
                (m_interaction && m_entityId > m_interaction->GetEntityIdCounter())) {
                badObjects.push_back(this);
                codes.push_back(InvalidityTypeBadObject);
            }
            break;
        default:
            break;
    }
    // The owner must know itself: a registered interaction whose own pointer it is.
    Interaction* owner = GetInteraction();
    if (!owner || !owner->IsKnownObject(owner) || !dynamic_cast<Interaction*>(owner)) {
        badObjects.push_back(this);
        codes.push_back(InvalidityTypeBadPointer);
    }
    return badObjects.empty();
}

void TaggedEntity::CopyTo(RollableEntity* destination)
{
    TaggedEntity* target = dynamic_cast<TaggedEntity*>(destination);
    if (!target)
        return;
    target->m_tag = 0;
    target->m_interaction = nullptr;
    target->CopyState(*this);
}

void TaggedEntity::CopyFrom(RollableEntity* source)
{
    if (TaggedEntity* from = dynamic_cast<TaggedEntity*>(source))
        CopyState(*from);
}

void TaggedEntity::CopyState(const TaggedEntity& from)
{
    m_type = from.m_type;
    m_entityId = from.m_entityId;
}

void TaggedEntity::Destroy()
{
    Interaction* interaction = GetInteraction();
    if (interaction) {
        interaction->ObjectDeleted(this);
        if (interaction != this)
            interaction->RemoveEntity(this);
        if (interaction->GetTagManager())
            interaction->GetTagManager()->UnregisterEntity(this);
    }
    Release();
}

Interaction* TaggedEntity::GetInteraction() { return m_interaction; }

bool TaggedEntity::Compare(TaggedEntity* other)
{
    return other && m_type == other->m_type && m_entityId == other->m_entityId;
}

void TaggedEntity::RecordCreated()
{
    if (Interaction* interaction = GetInteraction())
        interaction->ObjectCreated(this);
}

void TaggedEntity::RecordModified()
{
    if (Interaction* interaction = GetInteraction())
        interaction->ObjectModified(this);
}

void TaggedEntity::AddToInteraction()
{
    if (Interaction* interaction = GetInteraction())
        interaction->AddEntity(this);
}

namespace {

TagManager* TagManagerOf(TaggedEntity* entity)
{
    Interaction* interaction = entity->GetInteraction();
    return interaction ? interaction->GetTagManager() : nullptr;
}

}  // namespace

TaggedEntity* TaggedEntity::FindTaggedEntityFromTag(int tag)
{
    TagManager* manager = TagManagerOf(this);
    return manager ? manager->FindTaggedEntityFromTag(tag) : nullptr;
}

Instance* TaggedEntity::FindInstanceFromTag(int tag)
{
    TagManager* manager = TagManagerOf(this);
    return manager ? manager->FindInstanceFromTag(tag) : nullptr;
}

Reference* TaggedEntity::FindReferenceFromTag(int tag)
{
    TagManager* manager = TagManagerOf(this);
    return manager ? manager->FindReferenceFromTag(tag) : nullptr;
}

Relation* TaggedEntity::FindRelationFromTag(int tag)
{
    TagManager* manager = TagManagerOf(this);
    return manager ? manager->FindRelationFromTag(tag) : nullptr;
}

Feature* TaggedEntity::FindFeatureFromTag(int tag)
{
    TagManager* manager = TagManagerOf(this);
    return manager ? manager->FindFeatureFromTag(tag) : nullptr;
}

MappingData* TaggedEntity::FindMappingDataFromTag(int tag)
{
    TagManager* manager = TagManagerOf(this);
    return manager ? manager->FindMappingDataFromTag(tag) : nullptr;
}

VirtualVertex* TaggedEntity::FindVirtualVertexFromTag(int tag)
{
    TagManager* manager = TagManagerOf(this);
    return manager ? manager->FindVirtualVertexFromTag(tag) : nullptr;
}

void* TaggedEntity::GetObjectFromTag(int tag)
{
    return TagManagerOf(this) ? GetObjectFromApplicationItem(tag) : nullptr;
}

}  // namespace QEL
