// What the Solver costs over the solver layer: N blocks placed in a row, each block's right face
// held at a distance from its neighbour's left face, built and solved through the Solver from
// the kernel bodies, and the same planes and distances built and solved directly in the layer.
// The ratio of the two is the toolkit's overhead; the complexity fits show how each grows with N,
// and the comparison run prints the ratio at 100, 1,000 and 10,000 blocks with each side's
// exponent.
#include "TestHost.h"

#include "core/objects/Instance.h"
#include "core/objects/Interaction.h"
#include "core/kernel/KernelFacade.h"
#include "solver/Solver.h"

#include <brennik.h>
#include <brennik_build.h>

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <vector>
#include "BenchTiming.h"

namespace {

constexpr double kPitch = 20.0;  // blocks 10 wide, 10 apart
constexpr double kGap = 10.5;    // every gap must open by half a unit

struct Row {
    Row(int n)
    {
        BQ_SESSION_start(nullptr);
        interaction = new QEL::Interaction(QEL::CreateTypeLive);
        for (int i = 0; i < n; ++i) {
            const int block = brennik::build::Block(10, 20, 30);
            double matrix[4][4] = {{1, 0, 0, kPitch * i}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
            instances.push_back(QEL::Instance::Create(interaction, block, matrix));
            left.push_back(Face(block, -1.0));
            right.push_back(Face(block, 1.0));
        }
    }
    ~Row()
    {
        interaction->Destroy();
        BQ_SESSION_stop();
    }
    static int Face(int block, double nx)
    {
        int count = 0;
        int* faces = nullptr;
        BQ_BODY_ask_faces(block, &count, &faces);
        int found = 0;
        for (int i = 0; i < count && !found; ++i) {
            QEL::Position point;
            Dir normal;
            QEL::EvaluateFaceMidpoint(faces[i], &point, &normal);
            if (std::abs(normal.x - nx) < 1e-9)
                found = faces[i];
        }
        BQ_MEMORY_free(faces);
        return found;
    }

    QEL::Interaction* interaction;
    std::vector<QEL::Instance*> instances;
    std::vector<int> left, right;
};

// One build and solve of the row through the Solver; true when it solved.
bool SolveThroughTheSolver(const Row& row, int n)
{
    {
        QEL::Solver solver;
        QEL::Geometry* first = solver.GetOrMakeGeometry({row.left[0], row.instances[0]});
        first->AddToZMR();
        first->Fix(true);
        for (int i = 0; i + 1 < n; ++i) {
            QEL::Geometry* a = solver.GetOrMakeGeometry({row.right[static_cast<size_t>(i)], row.instances[static_cast<size_t>(i)]});
            QEL::Geometry* b =
                solver.GetOrMakeGeometry({row.left[static_cast<size_t>(i + 1)], row.instances[static_cast<size_t>(i + 1)]});
            solver.AddBond(QEL::TypedBond::CreateBinary(&solver, ZMR3_DISTANCE, a, b, kGap));
            // Each block keeps its width.
            solver.AddBond(QEL::TypedBond::CreateBinary(
                &solver, ZMR3_DISTANCE, solver.GetOrMakeGeometry({row.left[static_cast<size_t>(i)], row.instances[static_cast<size_t>(i)]}),
                a, 10.0));
        }
        return solver.SolveSystem() == QEL::SolveStatusSolved;
    }
}

// The same planes and distances built and solved directly in the layer.
bool SolveDirectlyInTheLayer(int n)
{
    using namespace tessik_host;
    {
        Host h;
        std::vector<Geometry*> left, right;
        for (int i = 0; i < n; ++i) {
            left.push_back(h.Plane({kPitch * i, 10, 15}, {-1, 0, 0}));
            right.push_back(h.Plane({kPitch * i + 10, 10, 15}, {1, 0, 0}));
        }
        h.System().fix(left[0]->node);
        for (int i = 0; i + 1 < n; ++i) {
            h.Dim(ZMR3_DISTANCE, right[static_cast<size_t>(i)], left[static_cast<size_t>(i + 1)], kGap);
            h.Dim(ZMR3_DISTANCE, left[static_cast<size_t>(i)], right[static_cast<size_t>(i)], 10.0);
        }
        return h.Solve() == ZMR3_SOLVED;
    }
}

void ThroughTheSolver(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Row row(n);
    // Every step's status is counted rather than passed through the optimiser barrier, which
    // may keep a stale copy of a small value it is given.
    int steps = 0, solved = 0;
    for (auto _ : state) {
        solved += SolveThroughTheSolver(row, n);
        ++steps;
    }
    state.counters["solved"] = steps > 0 && solved == steps;
    state.SetComplexityN(n);
}

void DirectlyInTheLayer(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    int steps = 0, solved = 0;
    for (auto _ : state) {
        solved += SolveDirectlyInTheLayer(n);
        ++steps;
    }
    state.counters["solved"] = steps > 0 && solved == steps;
    state.SetComplexityN(n);
}

struct Medians {
    double solver = 0, layer = 0;
    bool solved = true;
};

// Both sides on one row, interleaved so that they share the machine's load, timed by the
// processor time of the measuring thread.
Medians Measure(int n, int rounds)
{
    Row row(n);
    std::vector<double> solver, layer;
    Medians m;
    for (int round = 0; round < rounds; ++round) {
        double start = ThreadSeconds();
        m.solved = SolveThroughTheSolver(row, n) && m.solved;
        solver.push_back(ThreadSeconds() - start);
        start = ThreadSeconds();
        m.solved = SolveDirectlyInTheLayer(n) && m.solved;
        layer.push_back(ThreadSeconds() - start);
    }
    m.solver = Median(solver);
    m.layer = Median(layer);
    return m;
}

// The Solver's cost over the layer's at 100, 1,000 and 10,000 blocks, and how each side grows
// from the smallest to the largest: log(t10000 / t100) / log 100.
void SolverAgainstLayer(benchmark::State& state)
{
    Medians small, middle, large;
    for (auto _ : state) {
        small = Measure(100, 21);
        middle = Measure(1000, 11);
        large = Measure(10000, 5);
    }
    if (!small.solved || !middle.solved || !large.solved)
        state.SkipWithError("a solve failed");
    state.counters["solver_ms_100"] = small.solver * 1e3;
    state.counters["layer_ms_100"] = small.layer * 1e3;
    state.counters["solver_ms_1000"] = middle.solver * 1e3;
    state.counters["layer_ms_1000"] = middle.layer * 1e3;
    state.counters["solver_ms_10000"] = large.solver * 1e3;
    state.counters["layer_ms_10000"] = large.layer * 1e3;
    state.counters["ratio_100"] = small.solver / small.layer;
    state.counters["ratio_1000"] = middle.solver / middle.layer;
    state.counters["ratio_10000"] = large.solver / large.layer;
    state.counters["solver_exponent"] = std::log(large.solver / small.solver) / std::log(100.0);
    state.counters["layer_exponent"] = std::log(large.layer / small.layer) / std::log(100.0);
}

BENCHMARK(ThroughTheSolver)->RangeMultiplier(10)->Range(10, 1000)->Arg(300)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(DirectlyInTheLayer)->RangeMultiplier(10)->Range(10, 1000)->Arg(300)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(SolverAgainstLayer)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
