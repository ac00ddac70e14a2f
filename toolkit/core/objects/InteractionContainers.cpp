// The interaction's typed containers, the references multimap and the selection.
#include "core/objects/Interaction.h"

#include "core/objects/EntityCasts.h"
#include "core/objects/Instance.h"
#include "core/objects/ReferenceQueries.h"

#include <algorithm>

namespace QEL {

bool ReferenceMapKeyLessThan::operator()(const ReferenceMapKey& a, const ReferenceMapKey& b) const
{
    if (a.first != b.first)
        return a.first < b.first;
    return TaggedEntityPtrLessThan()(a.second, b.second);
}

template <typename T>
bool Interaction::AppendRecorded(std::vector<T*>& container, T* object)
{
    ObjectModified(this);
    container.push_back(object);
    return true;
}

template <typename T>
bool Interaction::EraseRecorded(std::vector<T*>& container, T* object)
{
    auto found = std::find(container.begin(), container.end(), object);
    if (found == container.end())
        return false;
    ObjectModified(this);
    container.erase(found);
    return true;
}

void Interaction::AddEntity(TaggedEntity* entity)
{
    if (!entity)
        return;
    if (Instance* instance = dynamic_cast<Instance*>(entity))
        AppendRecorded(m_instances, instance);
    else if (Relation* relation = DowncastEntity<Relation>(entity))
        AppendRecorded(m_relations, relation);
    else if (Feature* feature = DowncastEntity<Feature>(entity))
        AppendRecorded(m_features, feature);
    else if (Reference* reference = DowncastEntity<Reference>(entity)) {
        ObjectModified(this);
        AddReferenceToEntityMap(GetReferenceEntityTag(reference), GetReferenceInstance(reference),
                                reference);
    } else if (FacePattern* pattern = DowncastEntity<FacePattern>(entity))
        AppendRecorded(m_facePatterns, pattern);
    else if (Section* section = DowncastEntity<Section>(entity))
        AppendRecorded(m_sections, section);
    else if (VirtualVertex* vertex = DowncastEntity<VirtualVertex>(entity))
        AppendRecorded(m_virtualVertices, vertex);
    else if (Rule* rule = DowncastEntity<Rule>(entity))
        AppendRecorded(m_rules, rule);
    else if (FoundData* data = DowncastEntity<FoundData>(entity))
        AppendRecorded(m_foundData, data);
}

void Interaction::RemoveEntity(TaggedEntity* entity)
{
    if (!entity)
        return;
    if (Instance* instance = dynamic_cast<Instance*>(entity))
        EraseRecorded(m_instances, instance);
    else if (Relation* relation = DowncastEntity<Relation>(entity)) {
        EraseRecorded(m_relations, relation);
        if (m_relationFinder)
            m_relationFinder->RemoveRelation(relation);
    } else if (Feature* feature = DowncastEntity<Feature>(entity))
        EraseRecorded(m_features, feature);
    else if (Reference* reference = DowncastEntity<Reference>(entity)) {
        ObjectModified(this);
        RemoveSelectedReference(reference);
        RemoveReferenceFromEntityMap(GetReferenceEntityTag(reference),
                                     GetReferenceInstance(reference), reference);
        if (m_relationFinder)
            m_relationFinder->RemoveReference(reference);
    } else if (FacePattern* pattern = DowncastEntity<FacePattern>(entity))
        EraseRecorded(m_facePatterns, pattern);
    else if (Section* section = DowncastEntity<Section>(entity))
        EraseRecorded(m_sections, section);
    else if (VirtualVertex* vertex = DowncastEntity<VirtualVertex>(entity)) {
        EraseRecorded(m_virtualVertices, vertex);
        if (m_relationFinder)
            m_relationFinder->RemoveVirtualVertex(vertex);
    } else if (Rule* rule = DowncastEntity<Rule>(entity))
        EraseRecorded(m_rules, rule);
    else if (FoundData* data = DowncastEntity<FoundData>(entity))
        EraseRecorded(m_foundData, data);
}

Feature* Interaction::GetFeature(int index) const
{
    if (index < 0 || index >= GetFeatureCount())
        return nullptr;
    return m_features[index];
}

Instance* Interaction::GetInstance(int index) const
{
    if (index < 0 || index >= GetInstanceCount())
        return nullptr;
    return m_instances[index];
}

Relation* Interaction::GetRelation(int index) const
{
    if (index < 0 || index >= GetRelationCount())
        return nullptr;
    return m_relations[index];
}

void Interaction::AddReferenceToEntityMap(int entity, Instance* instance, Reference* reference)
{
    const ReferenceMapKey key(entity, instance);
    auto range = m_references.equal_range(key);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == reference)
            return;
    ObjectModified(this);
    m_references.insert(std::make_pair(key, reference));
}

void Interaction::RemoveReferenceFromEntityMap(int entity, Instance* instance, Reference* reference)
{
    auto range = m_references.equal_range(ReferenceMapKey(entity, instance));
    for (auto it = range.first; it != range.second; ++it)
        if (it->second == reference) {
            ObjectModified(this);
            m_references.erase(it);
            return;
        }
}

void Interaction::FindReferencesOnEntity(int entity, Instance* instance,
                                         std::vector<Reference*>& found) const
{
    auto range = m_references.equal_range(ReferenceMapKey(entity, instance));
    for (auto it = range.first; it != range.second; ++it)
        found.push_back(it->second);
}

bool Interaction::AddSelectedReference(Reference* reference)
{
    // The rule comes first, also for a reference selected already.
    if (!reference || !IsSelectableReferenceCombination(m_selectedReferences, reference))
        return false;
    if (IsSelectedReference(reference))
        return true;
    return AppendRecorded(m_selectedReferences, reference);
}

void Interaction::RemoveSelectedReference(Reference* reference)
{
    EraseRecorded(m_selectedReferences, reference);
}

bool Interaction::IsSelectedReference(Reference* reference) const
{
    return std::find(m_selectedReferences.begin(), m_selectedReferences.end(), reference) !=
           m_selectedReferences.end();
}

bool Interaction::IsEntitySelected(int entity) const
{
    for (Reference* reference : m_selectedReferences)
        if (reference && GetReferenceEntityTag(reference) == entity)
            return true;
    return false;
}

void Interaction::ClearSelections()
{
    ObjectModified(this);
    m_selectedReferences.clear();
}

}  // namespace QEL
