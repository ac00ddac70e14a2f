#pragma once
// The value edit that offsets faces by given distances. While the Solver solves it, the edit's
// procedural object regenerates the faces' surfaces at their offsets; the faces' geometries
// answer from those surfaces.

#include "model/operations/ShellClusterData.h"
#include "solver/operations/SolverOperation.h"

#include <hxr.h>

#include <map>
#include <set>
#include <vector>

namespace QEL {

class Interaction;
class Solver;

class OffsetFacesOp : public SolverEvaluate {
public:
    // kind: 1 offset values, 2 shell thickness moving one side, 3 moving both sides. The
    // wall of each face that has one is found at once.
    OffsetFacesOp(Interaction* interaction, const std::vector<int>& faces, int kind);
    ~OffsetFacesOp() override;

    // The edit's procedural offset object takes the faces and their partners, then the
    // adaptive-lift group and the relations follow.
    int AddToSolver(Solver* solver) override;
    // ResultTypeOffsetFaceCausedSelfIntersection when the kernel could not offset a face while
    // the system regenerated them, else ResultTypeOk.
    int Solve(Solver* solver) override;

    // False, changing nothing, unless there is one value per face; the partners follow.
    bool SetOffsetValues(const std::vector<double>& values);
    // Kind 1: every face's offset. Shell kinds: the new wall thickness, which each face of a
    // wall reaches by moving alone (kind 2) or with its partners (kind 3, half each).
    int SetDragValue(double value) override;
    // Offsets 0.0, no offset surfaces, no result.
    void ResetDragValues() override;
    // The faces and their partners never take a re-blend; none is forced.
    void GetChangedFaces(std::set<int>& forcedBlendFaces, std::set<int>& neverBlendFaces) override;
    // The faces, then the partner faces, without Instance, then the relations' references.
    void GetConfigureSeeds(SeedList& seeds) override;
    // The other side of each face's wall follows it: by the negated offset (kind 1), by the
    // offset itself (kind 3) or not at all (kind 2); a partner of several faces keeps the
    // value of the first.
    void UpdatePartnerOffsets();
    // The thickness of the face's wall, 0.0 when it has none.
    double GetShellThickness(int face);
    // Offsets a copy of each face's surface that the Solver holds geometry for and hands it to
    // that geometry; false, with the result ResultTypeOffsetFaceCausedSelfIntersection, when
    // the kernel cannot offset one.
    bool MakeOffsetSurfaces(Solver* solver);
    void DeleteOffsetSurfaces();

    const std::vector<int>& GetFaces() const { return m_faces; }
    const std::vector<double>& GetOffsets() const { return m_offsets; }
    const std::map<int, double>& GetPartnerOffsets() const { return m_partnerOffsets; }
    int GetKind() const { return m_kind; }
    // The add-on's offset option block the faces are offset with (version 1, no reference
    // face unless set).
    const HXR_FACE_change_offset_o_s& GetOptionBlock() const { return m_block; }
    void SetOptionBlock(const HXR_FACE_change_offset_o_s& block) { m_block = block; }
    int GetResult() const { return m_result; }

private:
    // The kernel error of offsetting the face's surface by the distance, 0 on success.
    int OffsetFace(Solver* solver, int face, double distance);

    std::vector<int> m_faces;
    std::vector<double> m_offsets;
    std::set<int> m_offsetSurfaces;
    std::map<int, double> m_partnerOffsets;
    ShellClusterDataArray m_shellClusters;
    int m_result = 0;
    int m_kind;
    HXR_FACE_change_offset_o_s m_block = {1, 0};
};

}  // namespace QEL
