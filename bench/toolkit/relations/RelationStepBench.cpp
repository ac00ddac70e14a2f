// One step of an edit on a part of about 200 faces held by relations: the edit is configured
// once (its relations and drag group enter a Solver), then each step solves again for a new
// value or drag position, as every update of a drag does. The figure is the time per step;
// the edit stays interactive while a step takes at most 16.7 ms (one frame at 60 Hz).
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/Solver.h"
#include "solver/operations/SolverOperation.h"

#include <benchmark/benchmark.h>
#include <brennik.h>
#include <brennik_build.h>

#include <cstdio>
#include <set>
#include <vector>

namespace {

using namespace QEL;

constexpr int kHoles = 194;  // with the plate's six sides, 200 faces

// A plate with a grid of holes: top and bottom parallel at their distance, every hole of a
// fixed radius, upright to the top, and at its distance from the next hole of its row.
struct HeldPlate {
    HeldPlate()
    {
        BQ_SESSION_start(nullptr);
        interaction = new Interaction(CreateTypeLive);
        const int plate = brennik::build::PlateWithManyHoles(kHoles);
        std::set<int> faces;
        GetBodyFaces(plate, faces);
        std::vector<Reference*> holes;
        for (int face : faces) {
            Reference* reference = Reference::Create(interaction, face, nullptr);
            Position point;
            Dir normal;
            EvaluateFaceMidpoint(face, &point, &normal);
            if (GetGeometryClassOfTopology(face) == KernelClassCylinder)
                holes.push_back(reference);
            else if (normal.z > 0.5)
                top = reference;
            else if (normal.z < -0.5)
                bottom = reference;
        }
        thickness = Relation::CreateBinary(interaction, RelationTypeDistance, top, bottom);
        relations.push_back(thickness);
        relations.push_back(Relation::CreateBinary(interaction, RelationTypeParallel, top, bottom));
        relations.push_back(Relation::CreateUnary(interaction, RelationTypeFixed, bottom));
        for (size_t i = 0; i < holes.size(); ++i) {
            relations.push_back(Relation::CreateUnary(interaction, RelationTypeRadius, holes[i]));
            relations.push_back(Relation::CreateBinary(interaction, RelationTypePerpendicular, top, holes[i]));
            if (i + 1 < holes.size())
                relations.push_back(Relation::CreateBinary(interaction, RelationTypeDistance, holes[i], holes[i + 1]));
        }
        faceCount = static_cast<int>(faces.size());
    }
    ~HeldPlate()
    {
        interaction->Destroy();
        BQ_SESSION_stop();
    }
    // Relations the combination rules refused are left out.
    template <typename Operation>
    void AddRelations(Operation& operation)
    {
        for (Relation* relation : relations)
            if (relation && relation != thickness)
                operation.AddRelation(relation);
    }

    Interaction* interaction = nullptr;
    Reference* top = nullptr;
    Reference* bottom = nullptr;
    Relation* thickness = nullptr;
    std::vector<Relation*> relations;
    int faceCount = 0;
};

void Report(benchmark::State& state, const HeldPlate& plate, Solver& solver, int solved, int steps)
{
    state.counters["faces"] = plate.faceCount;
    state.counters["bonds"] = static_cast<double>(solver.GetBondList()->size());
    state.counters["solved_share"] = steps ? static_cast<double>(solved) / steps : 0.0;
}

// A relation-value edit of the plate's thickness: each step drives it to a new value.
void ValueEditStepOnHeldPlate(benchmark::State& state)
{
    HeldPlate plate;
    Solver solver;
    SolverEvaluate edit(plate.interaction);
    plate.AddRelations(edit);
    edit.AddRelationWithValue(plate.thickness, plate.thickness->GetValue());
    edit.AddToSolver(&solver);
    int steps = 0, solved = 0;
    for (auto _ : state) {
        edit.SetRelationDragValue(plate.thickness, 2.0 + 0.01 * (steps % 100));
        edit.Solve(&solver);
        solved += solver.GetSolveStatus() == SolveStatusSolved;
        ++steps;
    }
    Report(state, plate, solver, solved, steps);
}
BENCHMARK(ValueEditStepOnHeldPlate)->Unit(benchmark::kMillisecond);

// A linear drag of the plate's top along its normal: each step drags it to a new height.
void LinearDragStepOnHeldPlate(benchmark::State& state)
{
    HeldPlate plate;
    Solver solver;
    // The top's geometry is in the system before the drag group takes it, as the configure
    // seeds leave it.
    solver.GetOrMakeGeometryToDrag(plate.top);
    plate.interaction->AddSelectedReference(plate.top);
    const double origin[3] = {0, 0, 0};
    const double up[3] = {0, 0, 1};
    const double start[3] = {0, 0, 2};
    SolverDragLinear drag(plate.interaction, origin, up, start);
    plate.AddRelations(drag);
    drag.AddToSolver(&solver);
    int steps = 0, solved = 0;
    for (auto _ : state) {
        const double to[3] = {0, 0, 2.0 + 0.01 * (steps % 100)};
        drag.SetDragPosition(to);
        drag.Solve(&solver);
        solved += solver.GetSolveStatus() == SolveStatusSolved;
        ++steps;
    }
    Report(state, plate, solver, solved, steps);
}
BENCHMARK(LinearDragStepOnHeldPlate)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
