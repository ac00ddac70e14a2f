#include "model/references/Reference.h"

#include "core/kernel/AddOnFacade.h"
#include "core/kernel/KernelFacade.h"
#include "core/kernel/KernelResources.h"
#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/objects/ReferenceAttribute.h"
#include "core/objects/TagManager.h"
#include "model/features/Feature.h"
#include "model/patterns/FacePattern.h"
#include "model/patterns/Section.h"
#include "model/references/VirtualVertex.h"
#include "model/relations/Relation.h"

#include <brennik.h>

#include <algorithm>
#include <cmath>

namespace QEL {

namespace {

bool HaveSameStandardForm(int entity, int other)
{
    const double tolerance = 1e-8;
    Position location, otherLocation, axis, otherAxis;
    const int classCode =
        GetStandardGeometry(entity, nullptr, nullptr, &location, &axis, nullptr, nullptr, nullptr);
    const int otherClass = GetStandardGeometry(other, nullptr, nullptr, &otherLocation, &otherAxis,
                                               nullptr, nullptr, nullptr);
    auto near = [tolerance](const Position& a, const Position& b) {
        return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance &&
               std::fabs(a.z - b.z) < tolerance;
    };
    return classCode == otherClass && near(location, otherLocation) && near(axis, otherAxis);
}

// The group class the toolkit asks for; the kernel keeps it as given.
constexpr int s_referenceGroupClass = 1000;

// A group of the body's part holding the entity alone; 0 when the kernel made none.
int CreateGroupOf(int entity)
{
    int group = 0;
    if (BQ_GROUP_create_from_entities(GetOwningBody(entity), s_referenceGroupClass, 1, &entity,
                                      &group) != BQ_ERROR_no_errors)
        return 0;
    return group;
}

// An empty reference attribute on the group; 0 when none was made.
int CreateAttributeOn(int group, int definition)
{
    int attribute = 0;
    if (BQ_ATTRIB_create_empty(group, definition, &attribute) != BQ_ERROR_no_errors)
        return 0;
    return attribute;
}

void WritePointer(int attribute, Reference* reference)
{
    void* pointer = reference;
    BQ_ATTRIB_set_named_pointers(attribute, s_referencePointerFieldName, 1, &pointer);
}

// The attribute's pointers; false when the kernel cannot answer.
bool ReadPointers(int attribute, std::vector<void*>& pointers)
{
    KernelArray<void*> found;
    if (BQ_ATTRIB_ask_named_pointers(attribute, s_referencePointerFieldName, found.Count(),
                                     found.Slot()) != BQ_ERROR_no_errors)
        return false;
    found.AppendTo(pointers);
    return true;
}

void DeleteOwnerGroup(int attribute)
{
    if (attribute == 0 || !IsEntity(attribute))
        return;
    const int group = GetAttributeOwner(attribute);
    if (group != 0)
        BQ_ENTITY_delete(1, &group);
}

}  // namespace

Reference::Reference(Interaction* interaction, int entity, Instance* instance,
                     ReferenceBehaviour behaviour)
    : SavedObject(interaction), m_entity(entity), m_instance(instance), m_behaviour(behaviour)
{
    SetType(ObjectTypeReference);
    if (interaction)
        RecordCreated();
}

Reference::~Reference() = default;

QEL_INSTALL_ENTITY_CASTS(Reference)

const char* Reference::GetReferenceAttDefName() { return s_referenceAttDefName; }

const char* Reference::GetReferencePointerFieldName() { return s_referencePointerFieldName; }

Reference* Reference::Create(Interaction* interaction, int entity, Instance* instance)
{
    if (!interaction)
        return nullptr;
    const int body = GetOwningBody(entity);
    if (instance && (instance->GetInteraction() != interaction || instance->GetBodyTag() != body))
        return nullptr;
    if (!IsEntity(entity))
        return nullptr;
    std::vector<Reference*> existing;
    if (body == 0) {
        if (instance)
            return nullptr;
        interaction->FindReferencesOnEntity(entity, nullptr, existing);
        if (!existing.empty())
            return existing.front();
        Reference* reference = new Reference(interaction, entity, nullptr);
        reference->AddToInteraction();
        return reference;
    }
    interaction->AddSeenBody(body);
    interaction->FindReferencesOnEntity(entity, instance, existing);
    if (!existing.empty())
        return existing.front();
    ReferenceBehaviour behaviour = ReferenceBehaviourModelling;
    FindBehaviourForEntity(interaction, entity, behaviour);
    Reference* reference = new Reference(interaction, entity, instance, behaviour);
    reference->AddToInteraction();
    if (instance)
        instance->AddReference(reference);
    reference->WriteBrennikData();
    return reference;
}

Reference* Reference::TestCreate(Interaction* interaction, int entity, Instance* instance)
{
    if (interaction)
        interaction->AddSeenBody(GetOwningBody(entity));
    Reference* reference = new Reference(interaction, entity, instance);
    reference->AddToInteraction();
    if (instance)
        instance->AddReference(reference);
    reference->WriteBrennikData();
    return reference;
}

Reference* Reference::TestCreateInvalid(int kind, Interaction* interaction, int entity, int other,
                                        Instance* instance)
{
    Reference* reference = new Reference(interaction, entity, instance);
    reference->WriteBrennikData();
    switch (kind) {
        case 1:
            reference->SetType(ObjectTypeUnknown);
            break;
        case 2:
        case 3:
            reference->m_entity = other;
            break;
        case 5:
            reference->m_dependents.push_back(nullptr);
            break;
        case 6:
            reference->m_dependents.push_back(reinterpret_cast<Object*>(interaction));
            break;
        case 7: {
            void* none = nullptr;
            BQ_ATTRIB_set_named_pointers(reference->m_attribute, s_referencePointerFieldName, 1,
                                         &none);
            break;
        }
        case 8:
            EmptyGroup(reference->GetGroup());
            break;
        case 9:
            BQ_GROUP_add_entities(reference->GetGroup(), 1, &other);
            break;
        case 10:
            if (interaction)
                reference->SetEntityId(interaction->GetEntityIdCounter() + 1);
            break;
        default:
            break;
    }
    return reference;
}

void Reference::TestDestroyInvalid(int kind)
{
    if (kind >= 1 && kind <= 9) {
        DeleteOwnerGroup(m_attribute);
        RecordModified();
        m_attribute = 0;
    }
    TaggedEntity::Destroy();
}

void Reference::WriteBrennikData()
{
    RecordModified();
    const int group = CreateGroupOf(m_entity);
    Interaction* interaction = GetInteraction();
    m_attribute = interaction ? CreateAttributeOn(group, interaction->GetReferenceAttDefTag()) : 0;
    if (m_attribute != 0)
        WritePointer(m_attribute, this);
}

int Reference::GetGroup() const { return m_attribute != 0 ? GetAttributeOwner(m_attribute) : 0; }

bool Reference::GetIsDangling() const { return !IsEntity(m_entity); }

void Reference::ReplaceEntityTag(int newEntity)
{
    RecordModified();
    const int oldEntity = m_entity;
    m_entity = newEntity;
    if (GetOwningBody(oldEntity) == GetOwningBody(newEntity)) {
        const int group = GetGroup();
        if (group != 0) {
            if (IsEntity(oldEntity))
                BQ_GROUP_remove_entities(group, 1, &oldEntity);
            if (newEntity != 0)
                BQ_GROUP_merge_entities(group, 1, &newEntity);
        }
    } else {
        const int oldAttribute = m_attribute;
        Interaction* interaction = GetInteraction();
        m_attribute = interaction ? CreateAttributeOn(CreateGroupOf(newEntity),
                                                      interaction->GetReferenceAttDefTag())
                                  : 0;
        // A reference on free geometry had no attribute to copy from: the pointer is this one.
        if (m_attribute != 0 && !MoveAttributePointer(oldAttribute, m_attribute))
            WritePointer(m_attribute, this);
        DeleteOwnerGroup(oldAttribute);
    }
    if (Interaction* interaction = GetInteraction()) {
        interaction->RemoveReferenceFromEntityMap(oldEntity, m_instance, this);
        interaction->AddReferenceToEntityMap(newEntity, m_instance, this);
    }
}

Reference* Reference::GetReferenceFromAttribute(Interaction* interaction, int attribute)
{
    if (!interaction || GetAttributeDefinition(attribute) != interaction->GetReferenceAttDefTag())
        return nullptr;
    std::vector<void*> pointers;
    if (!ReadPointers(attribute, pointers) || pointers.empty())
        return nullptr;
    return static_cast<Reference*>(pointers.front());
}

Reference* Reference::ReadAttributePointer() const
{
    std::vector<void*> pointers;
    if (!ReadPointers(m_attribute, pointers) || pointers.size() != 1)
        return nullptr;
    return static_cast<Reference*>(pointers.front());
}

bool Reference::MoveAttributePointer(int fromAttribute, int toAttribute)
{
    std::vector<void*> pointers;
    if (!ReadPointers(fromAttribute, pointers) || pointers.size() != 1)
        return false;
    return BQ_ATTRIB_set_named_pointers(toAttribute, s_referencePointerFieldName, 1,
                                        pointers.data()) == BQ_ERROR_no_errors;
}

void Reference::Destroy()
{
    const std::vector<Object*> dependents = m_dependents;
    for (Object* dependent : dependents)
        if (dependent)
            dependent->RemoveReference(this);
    if (m_instance)
        m_instance->RemoveReference(this);
    DeleteOwnerGroup(m_attribute);
    RecordModified();
    m_attribute = 0;
    TaggedEntity::Destroy();
}

bool Reference::Compare(TaggedEntity* other)
{
    if (!TaggedEntity::Compare(other))
        return false;
    Reference* reference = dynamic_cast<Reference*>(other);
    if (!reference || m_behaviour != reference->m_behaviour)
        return false;
    if ((m_instance == nullptr) != (reference->m_instance == nullptr))
        return false;
    if (m_instance && !m_instance->Compare(reference->m_instance))
        return false;
    if (GetEntityClass(m_entity) != GetEntityClass(reference->m_entity))
        return false;
    // Free geometry carries no kernel identifier; the interaction comparison pairs it by its
    // standard form instead.
    if (GetOwningBody(m_entity) == 0 && GetOwningBody(reference->m_entity) == 0 &&
        IsPointLineOrPlane(m_entity))
        return true;
    int identifier = 0;
    int otherIdentifier = 0;
    if (BQ_ENTITY_ask_identifier(m_entity, &identifier) != BQ_ERROR_no_errors ||
        BQ_ENTITY_ask_identifier(reference->m_entity, &otherIdentifier) != BQ_ERROR_no_errors)
        return false;
    if (identifier == otherIdentifier)
        return true;
    // A point, line or plane a call added to a part (a virtual vertex's point) gets the kernel's
    // next identifier, which another run of the same calls need not give it: such geometry is
    // the same when it lies in the same place.
    if (IsPointLineOrPlane(m_entity) && IsPointLineOrPlane(reference->m_entity))
        return HaveSameStandardForm(m_entity, reference->m_entity);
    // Identifiers differ between bodies rebuilt by the add-on; its features still name the
    // entity's role.
    std::vector<int> features;
    std::vector<int> otherFeatures;
    GetTopologyFeatures(m_entity, &features);
    GetTopologyFeatures(reference->m_entity, &otherFeatures);
    if (features.empty() || features.size() != otherFeatures.size())
        return false;
    for (size_t i = 0; i < features.size(); ++i)
        if (GetFeatureIdentifier(features[i]) != GetFeatureIdentifier(otherFeatures[i]))
            return false;
    return true;
}

bool Reference::CheckValidity(std::vector<TaggedEntity*>& badObjects,
                              std::vector<InvalidityType>& codes)
{
    auto report = [&](InvalidityType code) {
        badObjects.push_back(this);
        codes.push_back(code);
    };
    Object::CheckValidity(badObjects, codes);
    if (GetType() != ObjectTypeReference)
        report(InvalidityTypeBadObject);
    if (!IsEntity(m_entity) || (!IsFaceEdgeOrVertex(m_entity) && !IsPointLineOrPlane(m_entity)))
        report(InvalidityTypeBadBrennikEntity);
    Interaction* interaction = GetInteraction();
    if (m_instance && (!interaction || !interaction->IsKnownObject(m_instance) ||
                       !dynamic_cast<Instance*>(static_cast<TaggedEntity*>(m_instance))))
        report(InvalidityTypeBadPointer);
    for (Object* dependent : m_dependents)
        if (!dependent || !interaction || !interaction->IsKnownObject(dependent) ||
            !dynamic_cast<Object*>(static_cast<Entity*>(dependent)))
            report(InvalidityTypeBadPointer);
    if (interaction) {
        std::vector<Reference*> same;
        interaction->FindReferencesOnEntity(m_entity, m_instance, same);
        if (same.size() > 1)
            report(InvalidityTypeDuplicateObject);
    }
    const bool bodyless =
        !m_instance && IsPointLineOrPlane(m_entity) && GetOwningBody(m_entity) == 0;
    if (!CheckAttribute(bodyless))
        report(InvalidityTypeBadAttribute);
    if (!CheckGroup(bodyless))
        report(InvalidityTypeBadGroup);
    return badObjects.empty();
}

bool Reference::CheckAttribute(bool bodyless) const
{
    if (bodyless)
        return m_attribute == 0;
    Interaction* interaction = const_cast<Reference*>(this)->GetInteraction();
    return IsEntityOfClass(m_attribute, KernelClassAttribute) && interaction &&
           GetAttributeDefinition(m_attribute) == interaction->GetReferenceAttDefTag() &&
           ReadAttributePointer() == this;
}

bool Reference::CheckGroup(bool bodyless)
{
    if (bodyless)
        return m_attribute == 0;
    const int group = GetGroup();
    if (group == 0)
        return false;
    std::vector<int> members;
    GetGroupEntities(group, &members);
    if (members.size() != 1 || members.front() != m_entity)
        return false;
    std::set<int> entities;
    std::vector<int> groups;
    GatherEntityGroups(group, m_entity, entities, groups);
    if (groups.size() != 1)
        return false;
    Interaction* interaction = GetInteraction();
    std::vector<int> attributes;
    GetEntityAttributes(group, interaction ? interaction->GetReferenceAttDefTag() : 0, &attributes);
    return attributes.size() == 1;
}

void Reference::CopyState(const Reference& from)
{
    m_entity = from.m_entity;
    m_attribute = from.m_attribute;
    m_instance = from.m_instance;
    m_dependents = from.m_dependents;
    m_behaviour = from.m_behaviour;
}

void Reference::AddDependent(Object* object)
{
    RecordModified();
    m_dependents.push_back(object);
}

void Reference::RemoveDependent(Object* object)
{
    auto found = std::find(m_dependents.begin(), m_dependents.end(), object);
    if (found == m_dependents.end())
        return;
    RecordModified();
    m_dependents.erase(found);
}

void Reference::GetDependents(std::vector<Object*>& out) const
{
    out.insert(out.end(), m_dependents.begin(), m_dependents.end());
}

namespace {

// The dependents of one class, in list order.
template <typename T>
void CollectDependents(const std::vector<Object*>& dependents, std::vector<T*>& out)
{
    for (Object* dependent : dependents)
        if (T* typed = DowncastEntity<T>(dependent))
            out.push_back(typed);
}

template <typename T>
int CountDependents(const std::vector<Object*>& dependents)
{
    std::vector<T*> found;
    CollectDependents(dependents, found);
    return static_cast<int>(found.size());
}

}  // namespace

void Reference::GetRelations(std::vector<Relation*>& out) const
{
    CollectDependents(m_dependents, out);
}
void Reference::GetFeatures(std::vector<Feature*>& out) const
{
    CollectDependents(m_dependents, out);
}
void Reference::GetFacePatterns(std::vector<FacePattern*>& out) const
{
    CollectDependents(m_dependents, out);
}
void Reference::GetVirtualVertices(std::vector<VirtualVertex*>& out) const
{
    CollectDependents(m_dependents, out);
}
void Reference::GetSections(std::vector<Section*>& out) const
{
    CollectDependents(m_dependents, out);
}
int Reference::GetRelationCount() const { return CountDependents<Relation>(m_dependents); }
int Reference::GetFeatureCount() const { return CountDependents<Feature>(m_dependents); }
int Reference::GetFacePatternCount() const { return CountDependents<FacePattern>(m_dependents); }

bool Reference::IsEntityInFacePattern(Interaction* interaction, int entity)
{
    std::vector<Reference*> references;
    FindInteractionReferences(interaction, entity, references, false);
    for (Reference* reference : references)
        if (reference->GetFacePatternCount() > 0)
            return true;
    return false;
}

bool Reference::IsEntityUsedByNonSimpleFeature(Interaction* interaction, int entity)
{
    std::vector<Reference*> references;
    FindInteractionReferences(interaction, entity, references, false);
    for (Reference* reference : references) {
        std::vector<Feature*> features;
        reference->GetFeatures(features);
        for (Feature* feature : features)
            if (feature->GetFeatureType() != FeatureTypeSimple)
                return true;
    }
    return false;
}

}  // namespace QEL
