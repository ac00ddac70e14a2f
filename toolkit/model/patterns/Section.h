#pragma once
// A planar cut through placed bodies. The section holds a free plane (through a reference) and,
// per cut instance, a section body placed by a section instance of its own, with two parallel
// lists: section entity i (an edge or vertex of the section body) was made from source entity
// i (a face of the cut body). A section entity made where the plane crosses an edge of the
// cut body stands at two consecutive positions, once for each face of that edge. References
// that the application made on section entities are carried over each time the section body is
// made again.

#include "core/maths/Xform.h"
#include "core/objects/EntityComparison.h"
#include "core/objects/Object.h"

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace QEL {

template <typename T>
class Array;

using SectionEntityMap = std::pair<std::vector<int>, std::vector<int>>;
using SectionMappingEntry = std::pair<Instance*, SectionEntityMap>;

class QEL_API Section : public SavedObject<Section, SerializableObject> {
public:
    Section(Interaction* interaction, Reference* plane);
    explicit Section(Interaction* interaction) : Section(interaction, nullptr) {}
    ~Section() override;

    static Section* Create(Interaction* interaction, Reference* plane);
    static Section* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    static constexpr const char* s_className = "Section";

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    // The plane going leaves the section without one; its mappings stay.
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;

    Reference* GetSectionPlane() const { return m_plane; }

    // (Re)makes the section body of the cut instance; false (mapping unchanged) without a
    // plane or when the kernel makes no single section body.
    bool GenerateSectionGeometry(Instance* cut);
    bool AddSectionGeometry(Instance* cut, Instance* sectionInstance, const Array<int>& sources,
                            const Array<int>& sectionEntities);
    bool GetSectionMapping(Instance* cut, Instance*& sectionInstance, Array<int>& sources,
                           Array<int>& sectionEntities) const;
    void GetSrcSectionEntityMap(Instance* cut, SectionEntityMap& out) const;
    bool IsInstanceCut(Instance* instance) const;
    Instance* GetSectionInstance(Instance* cut) const;
    bool IsASectionInstance(Instance* instance) const;
    Instance* GetCutInstance(Instance* sectionInstance) const;
    // The cut instance behind a section edge or vertex (a vertex through its first edge).
    Instance* GetCutInstance(int entity) const;
    bool DoesReferToSections(const std::pair<int, Instance*>& key) const;
    void GetCutInstances(std::set<Instance*, TaggedEntityPtrLessThan>& out) const;
    void GetSectionInstances(std::vector<Instance*>& out) const;
    // Appends the cut-body faces behind a section edge or vertex.
    void GetSourceEntities(Instance* cut, int entity, std::vector<int>& out) const;
    void FixUpSectionReferences(Instance* cut, Instance* sectionInstance,
                                const SectionEntityMap& oldMap, const SectionEntityMap& newMap,
                                int oldBody, int newBody);

    // Plane tests on an entity's standard geometry placed by the transform; false without a
    // plane.
    bool IsTorusSpinePlaneCoincidentToSectionPlane(int entity, const Xform& placement) const;
    bool IsCentreOnSectionPlane(int entity, const Xform& placement) const;
    bool IsTheAxisOnSectionPlane(int entity, const Xform& placement) const;
    bool IsTheAxisParallelToSectionPlane(int entity, const Xform& placement) const;
    bool IsASectionPlane(const std::pair<int, Instance*>& key) const;

private:
    void ClearMapping(Instance* cut);
    // The new section entity for a vanished or kept source entity: the first unused one made
    // from it (later ones go into extra), else one made from what the source became.
    int FindNewSectionEntity(int entity, const std::vector<int>& newSections,
                             const std::vector<int>& newSources, std::set<int>& used,
                             std::set<int>& extra);
    void FixUpVertexReferences(Instance* cut, Instance* sectionInstance,
                               const SectionEntityMap& oldMap, const SectionEntityMap& newMap);
    // The references on the entity through the section instance and bare.
    void CollectSectionReferences(int entity, Instance* sectionInstance,
                                  std::vector<Reference*>& out) const;
    // The plane's location and normal, and the entity's standard geometry placed; false without
    // a plane.
    bool ReadPlaneAndGeometry(int entity, const Xform& placement, Vec& planePoint, Dir& planeNormal,
                              Vec& location, Dir& axis) const;

    // The mappings and the plane.
    void CopyState(const Section& from);
    Section* NewSnapshot() const { return new Section(nullptr, nullptr); }

    Reference* m_plane = nullptr;
    std::map<Instance*, SectionMappingEntry, TaggedEntityPtrLessThan> m_mappings;

    friend class SavedState<Section, SerializableObject>;
};

}  // namespace QEL
