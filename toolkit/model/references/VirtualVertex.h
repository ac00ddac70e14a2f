#pragma once
// A point that no kernel vertex carries: where the defining faces, edges or vertices would meet
// (for instance a corner a blend has taken away). It is a kernel point held by a reference of
// its own, so relations can use it like any vertex; the vertex depends on its defining
// references and on that point reference.

#include "core/maths/Vec.h"
#include "core/objects/Object.h"
#include "core/support/InstalledSeam.h"

#include <vector>

namespace QEL {

// A candidate pivot point: an existing kernel vertex, or a point computed where faces meet.
struct PivotVertexData {
    bool m_virtual = false;
    double m_point[3] = {0.0, 0.0, 0.0};
    std::vector<int> m_entities;
    double m_distance = -1.0;
    int m_vertex = 0;
    int m_face = 0;
};

class QEL_API VirtualVertex : public SavedObject<VirtualVertex, SerializableObject> {
public:
    explicit VirtualVertex(Interaction* interaction);
    VirtualVertex(Interaction* interaction, std::vector<Reference*>& defining,
                  Reference* pointReference);
    ~VirtualVertex() override;

    // Null for an empty list, instanced references, a failed solve or a point not made.
    static VirtualVertex* Create(Interaction* interaction, std::vector<Reference*>& defining,
                                 const double point[3]);
    static VirtualVertex* CreateFromXML(Interaction* interaction, XMLIO& xmlio);
    static constexpr const char* s_className = "VirtualVertex";

    bool CheckValidity(std::vector<TaggedEntity*>& badObjects,
                       std::vector<InvalidityType>& codes) override;
    // Takes the kernel point and every reference on it along.
    void Destroy() override;
    bool Compare(TaggedEntity* other) override;
    void RemoveReference(Reference* reference) override;
    bool DoIO(XMLIO& xmlio) override;

    // Null outside the list.
    Reference* GetDefiningReference(int index) const;
    int GetDefiningReferenceCount() const { return static_cast<int>(m_definingReferences.size()); }
    Reference* GetPointReference() const { return m_pointReference; }
    // The point reference's entity; 0 without one.
    int GetVirtualPoint() const;

    // The body all the references' entities lie on; 0 when they differ or the first has none.
    static int GetCommonBody(const std::vector<Reference*>& references);
    // A non-empty list without instances.
    static bool AreAllUninstanced(const std::vector<Reference*>& references);

private:
    // The defining references, the point reference and the point.
    void CopyState(const VirtualVertex& from);

    std::vector<Reference*> m_definingReferences;
    Reference* m_pointReference = nullptr;
    int m_point = 0;

    friend class SavedState<VirtualVertex, SerializableObject>;
};

class QEL_API VirtualVertexFoundation {
public:
    // Fills the record from the entities and the seed point and solves for the pivot.
    static bool s_makeVirtualVertexData(const std::vector<int>& entities, Vec& point,
                                        PivotVertexData* out);
    // The same on the references' entities; false when they mix instanced and bare ones.
    static bool s_makeVirtualVertexData(const std::vector<Reference*>& references, Vec& point,
                                        PivotVertexData* out);
    // Candidates at the face's vertices, the virtual corner under blends where blends meet,
    // each with its distance from the entity; the whole list sorted farthest first.
    static bool s_findPivotPoints(int entity, int face, std::vector<PivotVertexData>& out,
                                  double blendTolerance);
    // The face's own vertices only; false at the first vertex the kernel cannot measure.
    static bool s_findExisitingPivotPoints(int entity, int face, std::vector<PivotVertexData>& out);

    // Puts the record's point on every one of its entities with a solve.
    static bool SolvePivotPoint(PivotVertexData& data);
    static bool ReplaceBlendsBySupports(PivotVertexData& data, double blendTolerance,
                                        bool identifyBlends);
    static bool HasBlendFace(const PivotVertexData& data, double blendTolerance);
};

// The solve behind SolvePivotPoint, which the solver layer installs while the library loads:
// the point moved onto every entity, each held fixed. Answers the dimension system's transform
// answer (1 moved, 0 not), or -1 when the system could not be built or solved (or no solver is
// installed).
class PivotPointSolving {
public:
    virtual ~PivotPointSolving() = default;
    virtual int SolvePointOnEntities(const std::vector<int>& entities, const double point[3],
                                     double moved[3]) = 0;
};

// Installed once; always true, so that the installation can initialise a static flag. The
// installed object lives as long as the process.
inline bool InstallPivotPointSolving(PivotPointSolving* solving)
{
    return InstalledSeam<PivotPointSolving>::Install(solving);
}

int SolvePointOnEntities(const std::vector<int>& entities, const double point[3], double moved[3]);

}  // namespace QEL
