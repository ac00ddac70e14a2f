// Solve time against the number of bodies and dimensions: planes tied by distances in a
// chain and in a grid, each solved from a perturbed start.
#include "TestHost.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace tessik_host;

namespace {

// A small, repeatable perturbation of height and tilt.
double Wobble(int i) { return 0.01 * std::sin(1.7 * i + 0.3); }

void Chain(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    Host h;
    std::vector<Geometry*> planes;
    for (int i = 0; i < n; ++i)
        planes.push_back(h.Plane({0, 0, 10.0 * i + (i ? Wobble(i) : 0.0)}, {i ? Wobble(i + 7) : 0.0, 0, 1}));
    h.System().fix(planes[0]->node);
    for (int i = 1; i < n; ++i)
        h.Dim(ZMR3_DISTANCE, planes[static_cast<size_t>(i - 1)], planes[static_cast<size_t>(i)], 10.0);
    ZMR3_solve_type solved = ZMR3_NOT_SOLVED;
    for (auto _ : state)
        benchmark::DoNotOptimize(solved = h.Solve());
    state.counters["solved"] = solved == ZMR3_SOLVED;
    state.counters["planes"] = n;
    state.counters["dimensions"] = n - 1;
    state.SetComplexityN(n);
}

void Grid(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    Host h;
    std::vector<Geometry*> planes;
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            const int k = i * side + j;
            planes.push_back(h.Plane({double(i), double(j), 10.0 * (i + j) + (k ? Wobble(k) : 0.0)},
                                     {k ? Wobble(k + 3) : 0.0, 0, 1}));
        }
    h.System().fix(planes[0]->node);
    int dimensions = 0;
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            Geometry* here = planes[static_cast<size_t>(i * side + j)];
            if (i + 1 < side)
                h.Dim(ZMR3_DISTANCE, here, planes[static_cast<size_t>((i + 1) * side + j)], 10.0), ++dimensions;
            if (j + 1 < side)
                h.Dim(ZMR3_DISTANCE, here, planes[static_cast<size_t>(i * side + j + 1)], 10.0), ++dimensions;
        }
    ZMR3_solve_type solved = ZMR3_NOT_SOLVED;
    for (auto _ : state)
        benchmark::DoNotOptimize(solved = h.Solve());
    state.counters["solved"] = solved == ZMR3_SOLVED;
    state.counters["planes"] = side * side;
    state.counters["dimensions"] = dimensions;
    state.SetComplexityN(side * side);
}

}  // namespace

BENCHMARK(Chain)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(Grid)->Arg(3)->Arg(10)->Arg(32)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
