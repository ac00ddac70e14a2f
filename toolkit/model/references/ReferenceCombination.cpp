#include "model/references/ReferenceCombination.h"

#include "core/kernel/KernelFacade.h"
#include "model/references/Reference.h"
#include "model/relations/RelationEngine.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace QEL {

namespace {

ReferenceKey KeyOf(Reference* reference)
{
    return ReferenceKey(reference->GetEntityTag(), reference->GetInstance(),
                        reference->GetBehaviour());
}

void AppendKeys(const std::vector<Reference*>& references, std::vector<ReferenceKey>& keys)
{
    for (Reference* reference : references)
        keys.push_back(KeyOf(reference));
}

// The number of references each relation type takes; -1 for at least one.
int ReferenceCountOf(RelationType type)
{
    switch (type) {
        case RelationTypeDirectedDistance:
        case RelationTypePlanarAngle:
        case RelationTypeSymmetric:
        case RelationTypeCoPlaxis:
            return 3;
        case RelationTypeHalfAngle:
        case RelationTypeRadius:
        case RelationTypeMinorRadius:
            return 1;
        case RelationTypeFixed:
        case RelationTypeRigid:
            return -1;
        default:
            return 2;
    }
}

}  // namespace

bool operator<(const ReferenceKey& a, const ReferenceKey& b)
{
    return std::make_tuple(a.m_entity, a.m_instance, static_cast<int>(a.m_behaviour)) <
           std::make_tuple(b.m_entity, b.m_instance, static_cast<int>(b.m_behaviour));
}

bool operator==(const ReferenceKey& a, const ReferenceKey& b)
{
    return a.m_entity == b.m_entity && a.m_instance == b.m_instance &&
           a.m_behaviour == b.m_behaviour;
}

ReferenceCombination::ReferenceCombination(const std::vector<Reference*>& references)
{
    AppendKeys(references, m_keys);
    Classify();
}

ReferenceCombination::ReferenceCombination(const std::vector<ReferenceKey>& keys) : m_keys(keys)
{
    Classify();
}

ReferenceCombination::ReferenceCombination(const std::vector<Reference*>& selection,
                                           Reference* added)
{
    AppendKeys(selection, m_keys);
    if (added)
        m_keys.push_back(KeyOf(added));
    Classify();
}

void ReferenceCombination::Classify()
{
    std::set<int> bodies;
    std::set<Instance*> instances;
    m_freeCount = 0;
    m_positioningCount = 0;
    for (const ReferenceKey& key : m_keys) {
        if (key.m_instance)
            instances.insert(key.m_instance);
        else if (const int body = GetOwningBody(key.m_entity))
            bodies.insert(body);
        else
            ++m_freeCount;
        if (key.m_behaviour == ReferenceBehaviourPositioning)
            ++m_positioningCount;
    }
    m_bodyCount = static_cast<int>(bodies.size());
    m_instanceCount = static_cast<int>(instances.size());
    m_singleBody =
        m_bodyCount == 1 && m_positioningCount == 0 && m_instanceCount == 0 && m_freeCount == 0;
    m_rigidPartsOnly = m_bodyCount == 0 && (m_instanceCount > 0 || m_freeCount > 0);
}

bool ReferenceCombination::IsValidForRelationType(RelationType type) const
{
    const int size = static_cast<int>(m_keys.size());
    if (type >= RelationTypeDistance && type <= RelationTypeRigid) {
        const int count = ReferenceCountOf(type);
        if (count < 0 ? size < 1 : size != count)
            return false;
    }
    std::vector<ReferenceKey> sorted = m_keys;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
        return false;
    if (type != RelationTypeRigid)
        for (const ReferenceKey& key : m_keys) {
            int geometryClass = 0;
            int geometry = 0;
            if (!FindConstrainableGeomClassFromEntity(key.m_entity, geometryClass, geometry))
                return false;
        }
    if (m_singleBody)
        return true;
    if (!m_rigidPartsOnly)
        return false;
    const int parts = m_instanceCount + m_freeCount;
    if (parts > 1)
        return true;
    return type == RelationTypeFixed && parts == 1;
}

bool IsUninstancedReferenceOnBody(Reference* reference, int body)
{
    return reference && IsEntity(reference->GetEntityTag()) && !reference->GetInstance() &&
           GetOwningBody(reference->GetEntityTag()) == body;
}

bool IsGeometryReference(Reference* reference)
{
    if (!reference)
        return false;
    const int classCode = GetEntityClass(reference->GetEntityTag());
    return classCode == KernelClassPoint || classCode == KernelClassLine ||
           classCode == KernelClassPlane;
}

bool IsPlanarFaceReference(Reference* reference, bool requireFace)
{
    if (!reference)
        return false;
    const int entity = reference->GetEntityTag();
    if (requireFace && GetEntityClass(entity) != KernelClassFace)
        return false;
    return GetStandardGeometry(entity, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr) == KernelClassPlane;
}

}  // namespace QEL
