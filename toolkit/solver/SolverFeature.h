#pragma once
// The procedural object of an application Feature. A feature its procedure recreates is a
// procedural feature of the dimension system: its references' body-level geometry is its
// procedural geometry, its dependents move with it, and a profile frame of two lines tells how
// far the profile moved against the feature's own placement.

#include "core/maths/Xform.h"
#include "solver/SolverObjects.h"

#include <memory>
#include <set>

namespace QEL {

class Feature;
class Instance;
class Reference;
class RigidGroup;

class SolverFeature : public SolverProceduralObject {
public:
    static SolverFeature* CreateSolverFeature(Solver* solver, Feature* feature);
    // Takes the procedural lines out of the dimension system before deleting them.
    ~SolverFeature() override;

    // Called once, right after creation: a recreated feature not treated as simple becomes a
    // procedural feature (fixed when complex) with its profile frame.
    void AddToZMR() override;
    std::string ToString() override { return "SolverFeature"; }
    GeometryBase* GetOrMakeProceduralGeometry(int entity, Instance* instance) override;
    // Runs the feature's procedure when the feature must be updated or an input moved.
    int Regenerate() override;
    bool TakeRelatedGeometry(GeometryBase* g) override;

    void AddReference(Reference* reference);
    void AddDependent(Reference* reference);
    void AddProfileReference(Reference* reference);
    // Adds g, and moves it into the feature unless the feature is treated as simple.
    void AddGeometry(GeometryBase* g);
    GeometryBase* GetOrMakeProfileGeometry(int entity, Instance* instance);
    GeometryBase* GetOrMakeDependentGeometry(int entity, Instance* instance);
    void MakeProfileFrame();
    // Once: the feature's references, then its profile references, held as one rigid group,
    // so that a feature the procedures do not recreate moves rigidly with its faces.
    void MakeRigidGroup();
    RigidGroup* GetRigidGroup() const { return m_rigidGroup; }
    // After a solve: the profile-to-local transform at set-up carried by how the frame moved;
    // useSetChange reads the frame's Set, otherwise its two lines, where a line that only slid
    // along itself counts as unmoved. The identity without a profile frame.
    Xform GetCurrentProfileToLocalFeatureXform(bool useSetChange);

    Feature* GetFeature() const { return m_feature; }
    const GeometrySet& GetInputGeometry() const { return m_inputGeometry; }
    const std::set<int>& GetDependentEntities() const { return m_dependentEntities; }
    const std::set<int>& GetProfileEntities() const { return m_profileEntities; }
    Instance* GetFeatureInstance() const { return m_featureInstance; }
    Instance* GetProfileInstance() const { return m_profileInstance; }
    const Xform* GetStartXform() const { return m_startXform.get(); }
    GeometryBase* GetFrameLineA() const { return m_frameA; }
    GeometryBase* GetFrameLineB() const { return m_frameB; }

private:
    SolverFeature(Solver* solver, Feature* feature)
        : SolverProceduralObject(solver), m_feature(feature)
    {
    }
    bool IsTreatedAsSimple() const;

    Feature* m_feature;
    GeometrySet m_inputGeometry;
    std::set<int> m_dependentEntities;
    Instance* m_featureInstance = nullptr;
    std::set<int> m_profileEntities;
    Instance* m_profileInstance = nullptr;
    std::unique_ptr<Xform> m_startXform;
    RigidGroup* m_rigidGroup = nullptr;
    GeometryBase* m_frameA = nullptr;
    GeometryBase* m_frameB = nullptr;
    std::unique_ptr<ProceduralGLine> m_proceduralA;
    std::unique_ptr<ProceduralGLine> m_proceduralB;
};

}  // namespace QEL
