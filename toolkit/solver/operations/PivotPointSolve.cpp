// The solve that puts a pivot point on its defining entities: a free point bonded coincident
// to the geometry of each entity, which is held fixed, so only the point can move.
#include "model/references/VirtualVertex.h"

#include "core/maths/Xform.h"
#include "solver/Solver.h"
#include "solver/SolverNodes.h"

#include <memory>

namespace QEL {

namespace {

int SolvePointInTemporarySolver(const std::vector<int>& entities, const double point[3],
                                double moved[3])
{
    TemporarySolver solver;
    // Declared after the solver, so the bonds and the point go before the system they are in.
    std::unique_ptr<GPoint> pivot(new GPoint(&solver, point, nullptr, nullptr));
    std::vector<std::unique_ptr<TypedBond>> bonds;
    pivot->AddToZMR();
    for (int entity : entities) {
        Geometry* geometry = solver.GetOrMakeGeometry(GeometryKey(entity, nullptr));
        if (!geometry)
            break;
        std::vector<GeometryBase*> pair = {pivot.get(), geometry};
        TypedBond* bond = TypedBond::CreateTypedBond(&solver, ZMR3_COINCIDENT, pair, 0.0, nullptr);
        if (!bond)
            break;
        bonds.emplace_back(bond);
        bond->AddToZMR();
        geometry->Fix(true);
    }
    int answer = -1;
    if (bonds.size() == entities.size() && solver.SolveSystem() == SolveStatusSolved) {
        double matrix[4][4];
        answer = solver.GetDimensionSystem()->transform(pivot->GetGNode(), matrix);
        Vec p(point[0], point[1], point[2]);
        if (answer == 1)
            Xform(matrix).TransformPoint(p);
        moved[0] = p.x;
        moved[1] = p.y;
        moved[2] = p.z;
    }
    for (auto& bond : bonds)
        bond->RemoveFromZMR();
    return answer;
}

class SolverPivotPointSolving : public PivotPointSolving {
public:
    int SolvePointOnEntities(const std::vector<int>& entities, const double point[3],
                             double moved[3]) override
    {
        return SolvePointInTemporarySolver(entities, point, moved);
    }
};

SolverPivotPointSolving s_solverPivotPointSolving;

[[maybe_unused]] const bool s_solverPivotPointSolvingInstalled =
    InstallPivotPointSolving(&s_solverPivotPointSolving);

}  // namespace

}  // namespace QEL
