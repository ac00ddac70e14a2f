// One step of a drag on a part of about 200 faces held by relations, three ways in one run:
// through the exported DragLinearStep (the frame, then the interaction's update: roll back to
// the start, solve, apply to the kernel), through the interaction's operation control without
// the frame, and the solve alone. The drag is configured once by its first step; every later
// step solves and applies. The medians per step and their ratios are printed: the step stays
// interactive while it takes at most 16.7 ms (one frame at 60 Hz), and the frame should add
// under 5% to it.
#include "BenchTiming.h"

#include "api/edits/QelDragApi.h"
#include "api/edits/QelUpdateApi.h"
#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/Solver.h"
#include "solver/operations/OperationControl.h"
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
// fixed radius, upright to the top and at its distance from the next hole of its row; the top
// selected for the drag.
struct HeldPlate {
    HeldPlate()
    {
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
        relations.push_back(Relation::CreateBinary(interaction, RelationTypeParallel, top, bottom));
        relations.push_back(Relation::CreateUnary(interaction, RelationTypeFixed, bottom));
        for (size_t i = 0; i < holes.size(); ++i) {
            relations.push_back(Relation::CreateUnary(interaction, RelationTypeRadius, holes[i]));
            relations.push_back(Relation::CreateBinary(interaction, RelationTypePerpendicular, top, holes[i]));
            if (i + 1 < holes.size())
                relations.push_back(Relation::CreateBinary(interaction, RelationTypeDistance, holes[i], holes[i + 1]));
        }
        interaction->AddSelectedReference(top);
        faceCount = static_cast<int>(faces.size());
    }
    ~HeldPlate() { interaction->Destroy(); }

    Interaction* interaction = nullptr;
    Reference* top = nullptr;
    Reference* bottom = nullptr;
    std::vector<Relation*> relations;
    int faceCount = 0;
};

const double kOrigin[3] = {0, 0, 0};
const double kUp[3] = {0, 0, 1};

// The height of step i: back and forth above the plate's top.
double Height(int i) { return 2.0 + 0.01 * (1 + i % 50); }

void DragStepThroughTheExportedCall(benchmark::State& state)
{
    BQ_SESSION_start(nullptr);
    {
        HeldPlate plate;
        const int tag = plate.interaction->GetTag();
        ResultType result = ResultTypeOk;
        double start[3] = {0, 0, 2};
        double up[3] = {0, 0, 1};
        DragLinearStart(tag, start, up, start, &result);
        double first[3] = {0, 0, Height(0)};
        const UpdateStatus configured = DragLinearStep(tag, first, &result);
        constexpr int kSteps = 20;
        int applied = 0;
        for (auto _ : state) {
            std::vector<double> exported, direct, solve;
            for (int round = 0; round < 5; ++round) {
                exported.push_back(MicrosecondsPerCall(kSteps, [&](int i) {
                    double to[3] = {0, 0, Height(i)};
                    applied += DragLinearStep(tag, to, &result) == UpdateApplied;
                }) * 1e-3);
                direct.push_back(MicrosecondsPerCall(kSteps, [&](int i) {
                    const double to[3] = {0, 0, Height(i)};
                    ResultType status = ResultTypeOk;
                    OperationControl(plate.interaction).DragPositionStep(to, status);
                }) * 1e-3);
            }
            // The solve alone: the same drag entered once into a Solver of its own.
            {
                Solver solver;
                solver.GetOrMakeGeometryToDrag(plate.top);
                SolverDragLinear drag(plate.interaction, kOrigin, kUp, start);
                for (Relation* relation : plate.relations)
                    if (relation)
                        drag.AddRelation(relation);
                drag.AddToSolver(&solver);
                for (int round = 0; round < 5; ++round)
                    solve.push_back(MicrosecondsPerCall(kSteps, [&](int i) {
                        const double to[3] = {0, 0, Height(i)};
                        drag.SetDragPosition(to);
                        drag.Solve(&solver);
                    }) * 1e-3);
            }
            // Where the last step's time went, as the update pass measures it.
            double last[3] = {0, 0, Height(7)};
            DragLinearStep(tag, last, &result);
            std::printf("last step: solve %.3f ms, apply %.3f ms, of which face changes %.3f ms\n",
                        1e3 * GetSolveTime(&result), 1e3 * GetApplyTime(&result), 1e3 * GetFaceChangeTime(&result));
            const double exportedMs = Median(exported), directMs = Median(direct), solveMs = Median(solve);
            state.counters["exported_ms"] = exportedMs;
            state.counters["direct_ms"] = directMs;
            state.counters["solve_ms"] = solveMs;
            state.counters["frame_overhead_pct"] = 100.0 * (exportedMs - directMs) / exportedMs;
            state.counters["step_per_solve"] = exportedMs / solveMs;
            std::printf("faces %d, first step %s; per step: exported %.3f ms, without the frame %.3f ms, "
                        "solve alone %.3f ms; frame overhead %.2f%%, step/solve %.2f\n",
                        plate.faceCount, UpdateStatus(configured) == UpdateApplied ? "applied" : "not applied",
                        exportedMs, directMs, solveMs, 100.0 * (exportedMs - directMs) / exportedMs,
                        exportedMs / solveMs);
        }
        state.counters["faces"] = plate.faceCount;
        state.counters["applied"] = applied;
        DragLinearEnd(tag, &result);
    }
    BQ_SESSION_stop();
}
BENCHMARK(DragStepThroughTheExportedCall)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
