#pragma once
// Whether a set of references may be constrained together: the number a relation type takes,
// no reference twice, constrainable geometry, and where the references live. A combination is
// either a modelling change among the entities of one uninstanced body or a positioning of
// distinct rigid parts (instances and free geometry) against each other, never a mixture.

#include "core/enums/Enums.h"
#include "core/frame/QelExport.h"

#include <vector>

namespace QEL {

class Instance;
class Reference;

// The identity of a reference candidate: its entity, its instance and its behaviour.
struct QEL_API ReferenceKey {
    ReferenceKey() = default;
    ReferenceKey(int entity, Instance* instance, ReferenceBehaviour behaviour)
        : m_entity(entity), m_instance(instance), m_behaviour(behaviour)
    {
    }

    int m_entity = 0;
    Instance* m_instance = nullptr;
    ReferenceBehaviour m_behaviour = ReferenceBehaviourModelling;
};

// By entity, then instance address, then behaviour.
QEL_API bool operator<(const ReferenceKey& a, const ReferenceKey& b);
QEL_API bool operator==(const ReferenceKey& a, const ReferenceKey& b);

class QEL_API ReferenceCombination {
public:
    explicit ReferenceCombination(const std::vector<Reference*>& references);
    explicit ReferenceCombination(const std::vector<ReferenceKey>& keys);
    // The selection with one more reference after it.
    ReferenceCombination(const std::vector<Reference*>& selection, Reference* added);

    bool IsValidForRelationType(RelationType type) const;

    bool IsSingleBody() const { return m_singleBody; }
    bool IsRigidPartsOnly() const { return m_rigidPartsOnly; }
    int GetBodyCount() const { return m_bodyCount; }
    int GetInstanceCount() const { return m_instanceCount; }
    int GetPositioningCount() const { return m_positioningCount; }
    int GetFreeCount() const { return m_freeCount; }

private:
    void Classify();

    std::vector<ReferenceKey> m_keys;
    bool m_singleBody = false;
    bool m_rigidPartsOnly = false;
    int m_bodyCount = 0;
    int m_instanceCount = 0;
    int m_positioningCount = 0;
    int m_freeCount = 0;
};

// The entity is alive, the reference has no instance and the entity's owning body is the given
// one (0: free geometry without an instance).
bool IsUninstancedReferenceOnBody(Reference* reference, int body);
// The entity is a bare point, line or plane.
bool IsGeometryReference(Reference* reference);
// The entity's standard geometry is a plane; with requireFace the entity must be a face.
bool IsPlanarFaceReference(Reference* reference, bool requireFace);

}  // namespace QEL
