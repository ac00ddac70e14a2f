// Adaptive lift: the planar neighbours of a dragged planar face hinge on it. Each neighbour is
// held on construction lines that ride with the dragged face's body (its shared edges, or the
// sharp edge under a blend between them) and on one fixed tipping point at its far side, so it
// can only turn about that point as the face moves.
#include "solver/operations/AdaptiveLift.h"
#include "solver/operations/SolverOperation.h"

#include "core/kernel/KernelFacade.h"
#include "core/maths/LinesAndPlanes.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/references/ReferenceCombination.h"
#include "solver/Bonds.h"
#include "solver/RigidGroup.h"
#include "solver/Solver.h"
#include "solver/SolverObjects.h"
#include "solver/operations/AdaptiveLiftLists.h"

#include <map>
#include <set>
#include <vector>

namespace QEL {

namespace {

Vec ToVec(const Position& p) { return Vec(p.x, p.y, p.z); }

bool IsPlane(int face) { return GetGeometryClassOfTopology(face) == KernelClassPlane; }

// The face's plane in the body's own frame.
bool PlaneOf(int face, Vec& point, Dir& normal)
{
    Position location, axis;
    if (GetStandardGeometry(face, nullptr, nullptr, &location, &axis, nullptr, nullptr, nullptr) !=
        KernelClassPlane)
        return false;
    point = ToVec(location);
    normal = Dir(axis.x, axis.y, axis.z);
    return true;
}

// The line where the two planes under a blend meet; false unless there are exactly two under
// faces, both planes, and they are not parallel.
bool SharpEdgeUnder(int blend, double tolerance, std::vector<int>& unders, Vec& point,
                    Dir& direction)
{
    unders.clear();
    GetBlendUnderFaces(blend, tolerance, &unders);
    if (unders.size() != 2 || !IsPlane(unders[0]) || !IsPlane(unders[1]))
        return false;
    Vec p1, p2;
    Dir n1, n2;
    return PlaneOf(unders[0], p1, n1) && PlaneOf(unders[1], p2, n2) &&
           IntersectPlanes(p1, n1, p2, n2, &point, &direction);
}

void ToArray(const Vec& v, double out[3])
{
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

}  // namespace

bool ChooseTippingPoint(const std::vector<Vec>& candidates, const std::vector<HingeLine>& lines,
                        Vec& tipping)
{
    double best = 0.0;
    bool found = false;
    for (const Vec& candidate : candidates)
        for (const HingeLine& line : lines) {
            const double distance = GetPointLineDistance(candidate, line.first, line.second);
            if (distance > best) {
                best = distance;
                tipping = candidate;
                found = true;
            }
        }
    return found;
}

void SolverOperation::ReleaseAdaptiveLift(Solver* solver)
{
    // Nodes made for another Solver went out of its system with it: only the objects remain to
    // free, and its bonds are gone. Those of this Solver are still in its system and Sets, so
    // they stay. Every bond was made beside a node, so a node tells whose the bonds are.
    AdaptiveLiftData& data = m_adaptiveLift;
    bool bondsOfThisSolver = false;
    for (auto* nodes : {&data.m_constructionGeometry, &data.m_tippingPoints})
        for (auto it = nodes->begin(); it != nodes->end();) {
            if ((*it)->GetSolver() == solver) {
                bondsOfThisSolver = true;
                ++it;
                continue;
            }
            delete *it;
            it = nodes->erase(it);
        }
    if (!bondsOfThisSolver) {
        data.m_constructionBonds.clear();
        data.m_tippingBonds.clear();
    }
}

bool SolverOperation::AddAdaptiveLift(Solver* solver, RigidGroup* group)
{
    s_clearAdaptiveLiftTippingPoints();
    ReleaseAdaptiveLift(solver);
    AdaptiveLiftData& data = m_adaptiveLift;
    data.m_liftedFaces.clear();
    if (!group || m_interaction->GetSelectedReferences().empty())
        return true;
    const double tolerance = m_interaction->GetModellingTolerance();
    const bool mutualCheck = m_interaction->GetIncludeMutuallyDependentBlends();

    // The geometry of the face as placed, made when missing; null when none can be.
    auto geometryOf = [&](int face, Instance* instance) -> Geometry* {
        const GeometryKey key(face, instance);
        Geometry* g = solver->FindGeometry(key);
        if (!g) {
            // Made even where no star takes the face, which the answer does not tell.
            solver->AddEntityGeometry(m_interaction, face);
            g = solver->FindGeometry(key);
        }
        if (g)
            g->AddToZMR();
        return g;
    };
    // Ordered by node id, so that the nodes are made in the same order in every run.
    std::map<GeometryBase*, std::vector<HingeLine>, NodePtrLessThan> hinges;
    auto addHinge = [&](Set* set, Instance* instance, const Vec& point, const Dir& direction,
                        int lifted, const char* label) {
        Geometry* g = geometryOf(lifted, instance);
        if (!g)
            return false;
        double p[3], d[3];
        ToArray(point, p);
        ToArray(direction, d);
        GLine* line = new GLine(solver, p, d, instance, nullptr);
        data.m_constructionGeometry.insert(line);
        line->SetDebugName(label);
        line->AddToZMR();
        set->UnionGeometry(line);
        hinges[g].emplace_back(point, direction);
        if (TypedBond* bond =
                TypedBond::CreateTypedBond(solver, ZMR3_COINCIDENT, {line, g}, 0.0, nullptr)) {
            bond->SetDebugName("Adaptive Lift construction coi");
            solver->AddBond(bond);
            data.m_constructionBonds.insert(bond);
        }
        return true;
    };

    for (Reference* reference : m_interaction->GetSelectedReferences()) {
        Instance* instance = reference->GetInstance();
        Set* set = group->GetBodyLevelSet(instance);
        if (!set || reference->GetBehaviour() == ReferenceBehaviourPositioning ||
            !IsPlanarFaceReference(reference, true))
            continue;
        const int face = reference->GetEntityTag();
        std::set<int> neighbours;
        GetNeighbourFaceSet(face, neighbours);
        for (int neighbour : neighbours) {
            if (m_interaction->IsEntitySelected(neighbour))
                continue;
            if (IsPlane(neighbour)) {
                data.m_liftedFaces.emplace_back(neighbour, instance);
                std::vector<int> edges;
                GetCommonEdges(neighbour, face, &edges);
                for (int edge : edges) {
                    Position location, axis;
                    if (GetStandardGeometry(edge, nullptr, nullptr, &location, &axis, nullptr,
                                            nullptr, nullptr) != KernelClassLine)
                        continue;
                    addHinge(set, instance, ToVec(location), Dir(axis.x, axis.y, axis.z), neighbour,
                             "Adaptive Lift Construction");
                }
                continue;
            }
            double radius = 0.0;
            std::vector<int> unders;
            Vec point;
            Dir direction;
            if (!IdentifyBlendFace(neighbour, tolerance, mutualCheck, &radius) ||
                !SharpEdgeUnder(neighbour, tolerance, unders, point, direction) ||
                (unders[0] != face && unders[1] != face))
                continue;
            const int other = unders[0] == face ? unders[1] : unders[0];
            if (addHinge(set, instance, point, direction, other,
                         "Adaptive Lift Construction (blend)"))
                data.m_liftedFaces.emplace_back(other, instance);
        }
    }

    for (const auto& entry : hinges) {
        GeometryBase* g = entry.first;
        const int lifted = static_cast<Geometry*>(g)->GetEntity();
        std::vector<int> vertices;
        GetFaceVertices(lifted, &vertices);
        if (vertices.empty())
            continue;
        std::vector<Vec> candidates;
        std::map<int, std::set<int>> blendVertices;
        for (int vertex : vertices) {
            std::vector<int> faces;
            GetVertexFaces(vertex, &faces);
            bool selected = false, blended = false;
            for (int f : faces)
                selected = selected || m_interaction->IsEntitySelected(f);
            if (selected)
                continue;
            for (int f : faces) {
                double radius = 0.0;
                if (IdentifyBlendFace(f, tolerance, mutualCheck, &radius)) {
                    blendVertices[f].insert(vertex);
                    blended = true;
                }
            }
            Position position;
            if (!blended && GetVertexPosition(&vertex, &position))
                candidates.push_back(ToVec(position));
        }
        for (const auto& blend : blendVertices) {
            std::vector<int> unders;
            Vec point;
            Dir direction;
            if (!SharpEdgeUnder(blend.first, tolerance, unders, point, direction) ||
                m_interaction->IsEntitySelected(unders[0]) ||
                m_interaction->IsEntitySelected(unders[1]))
                continue;
            if (unders[0] == lifted || unders[1] == lifted) {
                for (int vertex : blend.second) {
                    Position position;
                    if (GetVertexPosition(&vertex, &position))
                        candidates.push_back(ProjectPointOnLine(ToVec(position), point, direction));
                }
                continue;
            }
            Vec planePoint, pierce;
            Dir normal;
            if (PlaneOf(lifted, planePoint, normal) &&
                IntersectLinePlane(point, direction, planePoint, normal, &pierce))
                candidates.push_back(pierce);
        }
        // Every candidate on a hinge line gives the face nothing to turn about: a point made
        // elsewhere (the origin) would pin it somewhere it never was.
        Vec tipping;
        if (!ChooseTippingPoint(candidates, entry.second, tipping))
            continue;
        double p[3];
        ToArray(tipping, p);
        GPoint* point = new GPoint(solver, p, g->GetInstance(), nullptr);
        point->SetDebugName("Adaptive Lift tipping point");
        point->AddToZMR();
        point->Fix(true);
        data.m_tippingPoints.insert(point);
        if (TypedBond* bond =
                TypedBond::CreateTypedBond(solver, ZMR3_COINCIDENT, {point, g}, 0.0, nullptr)) {
            bond->SetDebugName("Adaptive Lift tipping point coi");
            solver->AddBond(bond);
            data.m_tippingBonds.insert(bond);
        }
    }
    return true;
}

}  // namespace QEL
