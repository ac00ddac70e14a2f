#pragma once
// The registered objects of one interaction, and the process-wide registry of interactions.
// A tag is never trusted alone: a lookup accepts the pointer an application item holds only
// when that very pointer is registered.

#include "core/objects/EntityComparison.h"
#include "core/rollback/SavedState.h"

#include <set>
#include <unordered_set>
#include <vector>

namespace QEL {

class Rule;

using TaggedEntitySet = std::set<TaggedEntity*, TaggedEntityPtrLessThan>;

// The pointer an application item holds; null when the tag is no application item or the
// kernel answers none. No registry check.
void* GetObjectFromApplicationItem(int tag);

class QEL_API TagManager : public SavedObject<TagManager, RollableEntity> {
public:
    explicit TagManager(Interaction* interaction);
    ~TagManager() override;

    void RegisterEntity(TaggedEntity* entity);
    // Whether it was registered.
    bool UnregisterEntity(TaggedEntity* entity);
    bool IsRegistered(const TaggedEntity* entity) const;
    // Membership by address alone, for pointers that may not be toolkit objects at all.
    bool IsRegisteredAddress(const void* pointer) const;
    int GetNumTaggedEnts() const { return static_cast<int>(m_entities.size()); }
    const TaggedEntitySet& GetTaggedEntities() const { return m_entities; }

    TaggedEntity* FindTaggedEntityFromTag(int tag) const;
    Instance* FindInstanceFromTag(int tag) const;
    Reference* FindReferenceFromTag(int tag) const;
    Relation* FindRelationFromTag(int tag) const;
    Feature* FindFeatureFromTag(int tag) const;
    MappingData* FindMappingDataFromTag(int tag) const;
    VirtualVertex* FindVirtualVertexFromTag(int tag) const;
    Rule* FindRuleFromTag(int tag) const;
    // The first registered object in tag order with that id; null for 0.
    TaggedEntity* FindTaggedEntityById(int id) const;
    // Gives every object whose id an earlier object (in tag order) holds a new id above the
    // largest; returns the largest id afterwards.
    int RenumberDuplicateIds();

    // The process-wide registry of live interactions. It holds pointers only.
    static void RegisterInteraction(Interaction* interaction);
    static bool UnregisterInteraction(Interaction* interaction);
    static int GetInteractionCount();
    // The interaction the application item holds, only when that interaction is registered.
    static Interaction* FindInteractionFromTag(int tag);
    static void GetInteractions(std::vector<Interaction*>& interactions);
    // Empties the registry without destroying any interaction.
    static void ClearInteractions();

private:
    // The registered objects; the owning interaction is not part of a snapshot.
    void CopyState(const TagManager& from) { SetEntities(from.m_entities); }
    void SetEntities(const TaggedEntitySet& entities);
    void RecordModified();

    Interaction* m_interaction;
    TaggedEntitySet m_entities;
    // The same objects by address, so that an unknown pointer is never read to test it.
    std::unordered_set<const void*> m_addresses;

    friend class SavedState<TagManager, RollableEntity>;
};

}  // namespace QEL
