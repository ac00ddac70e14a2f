#pragma once
// A persistent handle on one kernel entity of an interaction: a face, edge or vertex of a body,
// seen through an instance or not, or a free point, line or plane. At most one reference exists
// per (entity, instance) in an interaction. On the kernel side the entity sits alone in a group
// of its body's part that carries one "ORV/QEL_REF_DEV" attribute pointing back at the
// reference; after a kernel operation the group's membership tells what became of the entity.
// Free geometry has neither group nor attribute.

#include "core/objects/Object.h"

#include <set>
#include <string>
#include <vector>

namespace QEL {

class XMLIO;
class ReferenceTrackingRecord;
class FacePattern;
class Section;

class QEL_API Reference : public SavedObject<Reference, SerializableObject> {
public:
    Reference(Interaction* interaction, int entity, Instance* instance,
              ReferenceBehaviour behaviour = ReferenceBehaviourModelling);
    ~Reference() override;

    // The interaction's reference of (entity, instance), made when there is none; null for an
    // instance of another interaction or of another body than the entity's, a dead entity, or
    // an instance given for an entity on no body.
    static Reference* Create(Interaction* interaction, int entity, Instance* instance);
    // Reads one "Reference" element; null (nothing left behind) when not reading or on failure.
    static Reference* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    // Test hooks: a reference made without reuse or checks; one damaged by kind for validity
    // tests (never filed); the destruction of such a one that leaves dependents untold.
    static Reference* TestCreate(Interaction* interaction, int entity, Instance* instance);
    static Reference* TestCreateInvalid(int kind, Interaction* interaction, int entity, int other,
                                        Instance* instance);
    void TestDestroyInvalid(int kind);

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // Tells every dependent and the instance, deletes the kernel group, then leaves the
    // interaction.
    void Destroy() override;
    // Same behaviour, instances and entity class, and the same kernel identifier or, failing
    // that, the same add-on features in the same order.
    bool Compare(TaggedEntity* other) override;
    bool DoIO(XMLIO& xmlio) override;

    int GetEntityTag() const { return m_entity; }
    Instance* GetInstance() const { return m_instance; }
    ReferenceBehaviour GetBehaviour() const { return m_behaviour; }
    int GetAttribute() const { return m_attribute; }
    // The entity is no longer a live kernel entity.
    bool GetIsDangling() const;
    int GetObjectCount() const { return static_cast<int>(m_dependents.size()); }

    // Dependents: every object that uses the reference, in the order they came, repeats kept.
    void AddDependent(Object* object);
    // Removes the first occurrence; nothing when absent.
    void RemoveDependent(Object* object);
    void GetDependents(std::vector<Object*>& out) const;
    void GetRelations(std::vector<Relation*>& out) const;
    void GetFeatures(std::vector<Feature*>& out) const;
    void GetFacePatterns(std::vector<FacePattern*>& out) const;
    void GetVirtualVertices(std::vector<VirtualVertex*>& out) const;
    void GetSections(std::vector<Section*>& out) const;
    int GetRelationCount() const;
    int GetFeatureCount() const;
    int GetFacePatternCount() const;

    // Points the reference at another entity: within one body the group swaps its member and
    // keeps its attribute; across bodies a new group and attribute take over and the old group
    // goes. The interaction's map follows.
    void ReplaceEntityTag(int newEntity);
    // The reference an attribute of the interaction's definition points at; null otherwise.
    static Reference* GetReferenceFromAttribute(Interaction* interaction, int attribute);
    // The one pointer in this reference's own attribute; null unless exactly one.
    Reference* ReadAttributePointer() const;
    // Copies the one pointer of the first attribute into the second; false unless exactly one
    // was read and it was written.
    static bool MoveAttributePointer(int fromAttribute, int toAttribute);

    // Lookups through the kernel groups (free geometry has none, so is never found this way).
    // Clears out; the interaction's references whose groups hold the entity, in the kernel's
    // group order.
    static void FindInteractionReferences(Interaction* interaction, int entity,
                                          std::vector<Reference*>& out, bool firstOnly);
    // The behaviour of the entity's first reference; false (out untouched) when the entity is
    // dead or has none.
    static bool FindBehaviourForEntity(Interaction* interaction, int entity,
                                       ReferenceBehaviour& out);
    // The groups of reference attributes in the body's part.
    static void FindInteractionReferencesGroupsForBody(Interaction* interaction, int body,
                                                       std::vector<int>& groups);
    // Every reference named by a reference attribute in the body's part, of any interaction
    // that shares the definition.
    static void FindInteractionReferencesForBody(Interaction* interaction, int body,
                                                 std::vector<Reference*>& out);
    // The reference attributes in the body's part that point at the reference.
    static void FindReferenceAttributesOnBody(Reference* reference, int body,
                                              std::vector<int>& attributes);
    // The kernel entity carries a reference attribute.
    static bool IsReferenceGroup(Interaction* interaction, int tag);
    static Reference* GetReferenceFromGroup(Interaction* interaction, int group);
    // The interaction's references on (entity, instance), then with the flag those on
    // (entity, no instance).
    void FindSameEntityReferences(bool alsoUninstanced, std::vector<Reference*>& out) const;
    // Whether any reference of the entity is used by a face pattern.
    static bool IsEntityInFacePattern(Interaction* interaction, int entity);
    // Whether any reference of the entity is used by a feature of a type other than simple.
    static bool IsEntityUsedByNonSimpleFeature(Interaction* interaction, int entity);

    // Behaviour: one per entity, so setting it sets every reference of the entity.
    void SetBehaviour(ReferenceBehaviour behaviour);
    void SetBehaviourOnEntity(ReferenceBehaviour behaviour, std::vector<Reference*>& found);

    // The group holds the reference's entity alone again; the kernel result.
    int ResetGroup();
    // Appends the given group and the groups of other references that hold the entity, and
    // their entities; always true.
    bool GatherEntityGroups(int group, int entity, std::set<int>& entities,
                            std::vector<int>& groups);
    // Classifies what the last kernel operation did to the reference's group into the record:
    // kind 0 unchanged, 1 emptied, 2 merged or replaced, 4 split, 5 anything else.
    bool TrackGroupChanges(ReferenceTrackingRecord& record);

    static const char* GetReferenceAttDefName();
    // The pointer field of the reference attribute.
    static const char* GetReferencePointerFieldName();

protected:
    // Makes the group and its attribute; kernel results are not examined (the validity check
    // finds what is missing).
    void WriteBrennikData();
    // The group that carries the attribute; 0 when none.
    int GetGroup() const;

    int m_entity;
    Instance* m_instance;
    std::vector<Object*> m_dependents;
    ReferenceBehaviour m_behaviour;
    int m_attribute = 0;

private:
    bool CheckAttribute(bool bodyless) const;
    bool CheckGroup(bool bodyless);
    // Entity, attribute, instance, dependents and behaviour; a snapshot makes no kernel data.
    void CopyState(const Reference& from);
    Reference* NewSnapshot() const { return new Reference(nullptr, m_entity, m_instance); }

    friend class SavedState<Reference, SerializableObject>;
};

// XML helpers shared by the DoIO of the classes that hold references and instances.
bool DoIOReferencePtr(XMLIO& xmlio, const char* name, Reference*& reference,
                      Interaction* interaction);
bool DoIOInstancePtr(XMLIO& xmlio, const char* name, Instance*& instance, Interaction* interaction);
bool DoIOObjectPtr(XMLIO& xmlio, const char* name, Object*& object, Interaction* interaction);
bool DoIOReferencePtrs(XMLIO& xmlio, const char* elementName, std::vector<Reference*>& references,
                       Interaction* interaction);
bool DoIOEntityClass(XMLIO& xmlio, const char* name, int& classCode);
bool DoIOReferenceBehaviour(XMLIO& xmlio, const char* name, ReferenceBehaviour& behaviour);

}  // namespace QEL
