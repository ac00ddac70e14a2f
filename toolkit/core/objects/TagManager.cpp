#include "core/objects/TagManager.h"

#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"

#include <brennik.h>

namespace QEL {

void* GetObjectFromApplicationItem(int tag)
{
    bool isItem = false;
    if (BQ_APPITEM_is(tag, &isItem) != BQ_ERROR_no_errors || !isItem)
        return nullptr;
    void* pointer = nullptr;
    if (BQ_APPITEM_ask(tag, &pointer) != BQ_ERROR_no_errors)
        return nullptr;
    return pointer;
}

namespace {

// The registered object whose tag is `tag`, when it is the very object the item points at.
// The set is searched by the tag value, so the item's pointer is compared, never read: a mark
// or a tracking record is not misread as a toolkit object.
template <typename Set>
typename Set::value_type FindRegisteredByTag(const Set& set, int tag, const void* pointer)
{
    if (!pointer || tag == 0)
        return nullptr;
    auto found = set.find(tag);
    if (found == set.end() || static_cast<const void*>(*found) != pointer)
        return nullptr;
    return *found;
}

}  // namespace

TagManager::TagManager(Interaction* interaction) : m_interaction(interaction)
{
    if (m_interaction)
        m_interaction->ObjectCreated(this);
    AddRef();
}

TagManager::~TagManager()
{
    if (m_interaction)
        m_interaction->ObjectDeleted(this);
}

void TagManager::SetEntities(const TaggedEntitySet& entities)
{
    m_entities = entities;
    m_addresses.clear();
    for (const TaggedEntity* entity : m_entities)
        m_addresses.insert(entity);
}

void TagManager::RecordModified()
{
    if (m_interaction)
        m_interaction->ObjectModified(this);
}

void TagManager::RegisterEntity(TaggedEntity* entity)
{
    RecordModified();
    m_entities.insert(entity);
    m_addresses.insert(entity);
}

bool TagManager::UnregisterEntity(TaggedEntity* entity)
{
    if (!IsRegistered(entity))
        return false;
    RecordModified();
    m_entities.erase(entity);
    m_addresses.erase(entity);
    return true;
}

bool TagManager::IsRegistered(const TaggedEntity* entity) const
{
    return entity && m_addresses.count(entity) != 0;
}

bool TagManager::IsRegisteredAddress(const void* pointer) const
{
    return pointer && m_addresses.count(pointer) != 0;
}

TaggedEntity* TagManager::FindTaggedEntityFromTag(int tag) const
{
    return FindRegisteredByTag(m_entities, tag, GetObjectFromApplicationItem(tag));
}

Instance* TagManager::FindInstanceFromTag(int tag) const
{
    return dynamic_cast<Instance*>(FindTaggedEntityFromTag(tag));
}

Reference* TagManager::FindReferenceFromTag(int tag) const
{
    return DowncastEntity<Reference>(FindTaggedEntityFromTag(tag));
}

Relation* TagManager::FindRelationFromTag(int tag) const
{
    return DowncastEntity<Relation>(FindTaggedEntityFromTag(tag));
}

Feature* TagManager::FindFeatureFromTag(int tag) const
{
    return DowncastEntity<Feature>(FindTaggedEntityFromTag(tag));
}

MappingData* TagManager::FindMappingDataFromTag(int tag) const
{
    return DowncastEntity<MappingData>(FindTaggedEntityFromTag(tag));
}

VirtualVertex* TagManager::FindVirtualVertexFromTag(int tag) const
{
    return DowncastEntity<VirtualVertex>(FindTaggedEntityFromTag(tag));
}

Rule* TagManager::FindRuleFromTag(int tag) const
{
    return DowncastEntity<Rule>(FindTaggedEntityFromTag(tag));
}

TaggedEntity* TagManager::FindTaggedEntityById(int id) const
{
    if (id == 0)
        return nullptr;
    for (TaggedEntity* entity : m_entities)
        if (entity && entity->GetEntityId() == id)
            return entity;
    return nullptr;
}

int TagManager::RenumberDuplicateIds()
{
    std::set<int> ids;
    std::vector<TaggedEntity*> duplicates;
    for (TaggedEntity* entity : m_entities) {
        if (!entity)
            continue;
        if (!ids.insert(entity->GetEntityId()).second)
            duplicates.push_back(entity);
    }
    int max = ids.empty() ? 0 : *ids.rbegin();
    for (TaggedEntity* entity : duplicates)
        entity->SetEntityId(++max);
    return max;
}

// The registry of interactions, with the same address set as the tag manager's.
namespace {

struct InteractionRegistry {
    std::set<Interaction*, TaggedEntityPtrLessThan> interactions;
};

InteractionRegistry& GetRegistry()
{
    static InteractionRegistry s_registry;
    return s_registry;
}

}  // namespace

void TagManager::RegisterInteraction(Interaction* interaction)
{
    if (interaction)
        GetRegistry().interactions.insert(interaction);
}

bool TagManager::UnregisterInteraction(Interaction* interaction)
{
    auto& interactions = GetRegistry().interactions;
    for (auto it = interactions.begin(); it != interactions.end(); ++it)
        if (*it == interaction) {
            interactions.erase(it);
            return true;
        }
    return false;
}

int TagManager::GetInteractionCount()
{
    return static_cast<int>(GetRegistry().interactions.size());
}

Interaction* TagManager::FindInteractionFromTag(int tag)
{
    return FindRegisteredByTag(GetRegistry().interactions, tag, GetObjectFromApplicationItem(tag));
}

void TagManager::GetInteractions(std::vector<Interaction*>& interactions)
{
    const auto& registered = GetRegistry().interactions;
    interactions.insert(interactions.end(), registered.begin(), registered.end());
}

void TagManager::ClearInteractions() { GetRegistry().interactions.clear(); }

}  // namespace QEL
