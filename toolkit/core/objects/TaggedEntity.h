#pragma once
// Everything the application can name: a tag (a kernel application item pointing at the
// object), the owning interaction, an object type and an interaction-wide entity id.

#include "core/objects/Entity.h"

namespace QEL {

class Interaction;
class Instance;
class Reference;
class Relation;
class Feature;
class MappingData;
class VirtualVertex;

class QEL_API TaggedEntity : public RollableEntity {
public:
    // With an interaction: a tag made in the interaction's partition, the next entity id, and
    // registration with the interaction's tag manager. Without one: tag 0, id 0, unregistered.
    explicit TaggedEntity(Interaction* interaction);
    // Deletes the tag's application item and unregisters the object.
    ~TaggedEntity() override;

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // A snapshot is detached: tag 0, no interaction; the saved state is copied.
    void CopyTo(RollableEntity* destination) override;
    // Takes the saved state; tag and interaction stay.
    void CopyFrom(RollableEntity* source) override;
    // Records the deletion, takes the object out of the containers and the tag manager and
    // gives up the owner's reference.
    virtual void Destroy();
    virtual Interaction* GetInteraction();
    // Same type and entity id; false for null.
    virtual bool Compare(TaggedEntity* other);

    int GetTag() const { return m_tag; }
    // Only while the tag is still 0.
    void SetTag(int tag);
    ObjectType GetType() const { return m_type; }
    void SetType(ObjectType type) { m_type = type; }
    int GetEntityId() const { return m_entityId; }
    // Not recorded for rollback: used when renumbering after a load and by test hooks.
    void SetEntityId(int id) { m_entityId = id; }

    void RecordCreated();
    void RecordModified();
    // Files the object in the interaction's container of its class.
    void AddToInteraction();

    // Lookups through the owning interaction's tag manager; null without one.
    TaggedEntity* FindTaggedEntityFromTag(int tag);
    Instance* FindInstanceFromTag(int tag);
    Reference* FindReferenceFromTag(int tag);
    Relation* FindRelationFromTag(int tag);
    Feature* FindFeatureFromTag(int tag);
    MappingData* FindMappingDataFromTag(int tag);
    VirtualVertex* FindVirtualVertexFromTag(int tag);
    // The pointer held by the application item, without the registry check: a tag may name an
    // object of another interaction.
    void* GetObjectFromTag(int tag);

protected:
    // The interaction pointer as stored; GetInteraction may answer otherwise (an interaction
    // answers itself).
    Interaction* GetStoredInteraction() const { return m_interaction; }
    // Deletes the application item and unregisters; the tag becomes 0.
    void ReleaseTag();

private:
    // The saved state of every tagged object: type and id. The tag and the interaction are
    // the object's identity, never part of a snapshot.
    void CopyState(const TaggedEntity& from);

    int m_tag = 0;
    Interaction* m_interaction = nullptr;
    ObjectType m_type = ObjectTypeUnknown;
    int m_entityId = 0;
};

}  // namespace QEL
