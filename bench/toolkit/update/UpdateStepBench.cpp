// One full update step of a relation-value edit on a part of about 200 faces held by relations
// (roll back to the edit's start mark, solve, apply the solution to the kernel body) against the
// solve alone on the same configured Solver. Each round runs a batch of steps both ways; the
// medians of the rounds (milliseconds per step) and their ratio are printed, with the median
// apply and kernel face-change times of the update steps.
#include "../../BenchTiming.h"

#include "core/kernel/KernelFacade.h"
#include "core/objects/Interaction.h"
#include "model/references/Reference.h"
#include "model/relations/Relation.h"
#include "solver/Solver.h"
#include "solver/operations/SolverOperation.h"
#include "model/operations/FaceChangeBuilder.h"
#include "update/pass/UpdateManager.h"
#include "update/pass/UpdateTimes.h"

#include <benchmark/benchmark.h>
#include <brennik.h>
#include <brennik_build.h>

#include <set>
#include <vector>

namespace {

using namespace QEL;

constexpr int kHoles = 194;  // with the plate's six sides, 200 faces
constexpr int kStepsPerRound = 20;
constexpr int kRounds = 7;

// A plate with a grid of holes: the bottom fixed, the top parallel to it at its distance, every
// hole of a fixed radius and upright to the top.
struct HeldPlate {
    HeldPlate()
    {
        BQ_SESSION_start(nullptr);
        interaction = new Interaction(CreateTypeLive);
        body = brennik::build::PlateWithManyHoles(kHoles);
        std::set<int> faces;
        GetBodyFaces(body, faces);
        std::vector<Reference*> holes;
        Reference* top = nullptr;
        Reference* bottom = nullptr;
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
        Relation::CreateBinary(interaction, RelationTypeParallel, top, bottom);
        Relation::CreateUnary(interaction, RelationTypeFixed, bottom);
        for (Reference* hole : holes) {
            Relation::CreateUnary(interaction, RelationTypeRadius, hole);
            Relation::CreateBinary(interaction, RelationTypePerpendicular, top, hole);
        }
        faceCount = static_cast<int>(faces.size());
        interaction->CreateUpdateManager();
        manager = interaction->GetUpdateManager();
    }
    ~HeldPlate()
    {
        interaction->SetCurrentSolverOperation(nullptr);
        manager->Clear();
        interaction->Destroy();
        BQ_SESSION_stop();
    }

    Interaction* interaction = nullptr;
    UpdateManager* manager = nullptr;
    Relation* thickness = nullptr;
    int body = 0;
    int faceCount = 0;
};

double ThicknessAt(int step) { return 2.0 + 0.01 * (step % 100); }

void UpdateStepAgainstSolveOnHeldPlate(benchmark::State& state)
{
    HeldPlate plate;
    SolverEvaluate edit(plate.interaction);
    edit.AddRelationWithValue(plate.thickness, plate.thickness->GetValue());
    plate.interaction->SetCurrentSolverOperation(&edit);
    ResultType result = ResultTypeOk;
    // The first update configures the edit and takes its start mark.
    plate.manager->DoOperation(&edit, result);
    Solver* solver = plate.manager->GetSolver();
    int steps = 0;
    int applied = 0;
    for (auto _ : state) {
        std::vector<double> solve;
        std::vector<double> update;
        std::vector<double> apply;
        std::vector<double> faceChange;
        for (int round = 0; round < kRounds; ++round) {
            solve.push_back(MicrosecondsPerCall(kStepsPerRound, [&](int i) {
                edit.SetRelationDragValue(plate.thickness, ThicknessAt(i));
                edit.Solve(solver);
            }) * 1e-3);
            update.push_back(MicrosecondsPerCall(kStepsPerRound, [&](int i) {
                edit.SetRelationDragValue(plate.thickness, ThicknessAt(i));
                applied += plate.manager->DoSolverOperationAndUpdateModel(&edit, result) == UpdateApplied;
                apply.push_back(UpdateTimes::GetApply() * 1e3);
                faceChange.push_back(GetLastFaceChangeTime() * 1e3);
                ++steps;
            }) * 1e-3);
        }
        state.counters["faces"] = plate.faceCount;
        state.counters["solve_ms"] = Median(solve);
        state.counters["update_ms"] = Median(update);
        state.counters["ratio"] = Median(update) / Median(solve);
        // Where a step's time goes: the whole apply, and the kernel face change within it.
        state.counters["apply_ms"] = Median(apply);
        state.counters["face_change_ms"] = Median(faceChange);
        state.counters["applied_share"] = steps ? static_cast<double>(applied) / steps : 0.0;
    }
}
BENCHMARK(UpdateStepAgainstSolveOnHeldPlate)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
