// Solve time against the number of bodies and dimensions: planes tied by distances in a
// chain, in a grid and in many separate pairs, each solved from a perturbed start. The chain prints the time per plane
// at each size and the fitted exponent of its growth, for the first solve of each chain and for
// the solves after it (which find the layout of their equations kept from the first).
#include "TestHost.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace tessik_host;

namespace {

// A small, repeatable perturbation of height and tilt.
double Wobble(int i) { return 0.01 * std::sin(1.7 * i + 0.3); }

double ThreadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

struct ChainTimes {
    double first = 0.0;  // the first solve of the system
    double again = 0.0;  // the least of the solves after it: what one costs when a loaded machine lets it run
    bool solved = true;
};

// A chain of n planes, each tied to the one before by a distance of 10 (and, with parallel,
// also by a parallel bond), the first fixed: the processor time of solving it from its
// perturbed start, and whether every solve solved.
ChainTimes SolveChain(int n, bool parallel)
{
    Host h;
    std::vector<Geometry*> planes;
    for (int i = 0; i < n; ++i)
        planes.push_back(h.Plane({0, 0, 10.0 * i + (i ? Wobble(i) : 0.0)}, {i ? Wobble(i + 7) : 0.0, 0, 1}));
    h.System().fix(planes[0]->node);
    for (int i = 1; i < n; ++i) {
        h.Dim(ZMR3_DISTANCE, planes[static_cast<size_t>(i - 1)], planes[static_cast<size_t>(i)], 10.0);
        if (parallel)
            h.Dim(ZMR3_PARALLEL, planes[static_cast<size_t>(i - 1)], planes[static_cast<size_t>(i)], 0.0);
    }
    std::vector<double> times;
    ChainTimes t;
    for (int round = 0; round < std::max(4, 30000 / n); ++round) {
        const double start = ThreadMilliseconds();
        t.solved = h.Solve() == ZMR3_SOLVED && t.solved;
        times.push_back(ThreadMilliseconds() - start);
    }
    t.first = times.front();
    t.again = *std::min_element(times.begin() + 1, times.end());
    return t;
}

// Least squares on the logarithms: the exponent of the growth (1 is linear).
struct GrowthFit {
    double sx = 0, sy = 0, sxx = 0, sxy = 0, count = 0;
    void Add(double n, double ms)
    {
        const double x = std::log(n), y = std::log(ms);
        sx += x, sy += y, sxx += x * x, sxy += x * y, count += 1;
    }
    double Exponent() const { return (count * sxy - sx * sy) / (count * sxx - sx * sx); }
};

// The chain at 100 to 10,000 planes: the time per plane at each size, and the exponent of the
// growth fitted over all sizes, for solves after the first and for the first.
void ChainScaling(benchmark::State& state)
{
    const bool parallel = state.range(0) != 0;
    const int sizes[] = {100, 300, 1000, 3000, 10000};
    for (auto _ : state) {
        GrowthFit again, first;
        bool allSolved = true;
        for (int n : sizes) {
            const ChainTimes t = SolveChain(n, parallel);
            allSolved = allSolved && t.solved;
            state.counters["ms_at_" + std::to_string(n)] = t.again;
            state.counters["us_per_plane_at_" + std::to_string(n)] = 1e3 * t.again / n;
            state.counters["first_us_per_plane_at_" + std::to_string(n)] = 1e3 * t.first / n;
            again.Add(n, t.again);
            first.Add(n, t.first);
        }
        state.counters["exponent"] = again.Exponent();
        state.counters["first_exponent"] = first.Exponent();
        state.counters["all_solved"] = allSolved;
    }
}

// n pairs of planes, each pair its own component: the second plane of a pair held 10 from the
// first, which is fixed, from a perturbed start. The time per pair at 100 to 10,000 pairs and
// the exponent of its growth: every component solved on its own should cost the same however
// many others there are.
void ComponentScaling(benchmark::State& state)
{
    const int sizes[] = {100, 1000, 10000};
    for (auto _ : state) {
        GrowthFit growth;
        bool allSolved = true;
        for (int n : sizes) {
            Host h;
            for (int i = 0; i < n; ++i) {
                Geometry* base = h.Plane({20.0 * i, 0, 0}, {0, 0, 1});
                Geometry* top = h.Plane({20.0 * i, 0, 10.0 + Wobble(i)}, {Wobble(i + 5), 0, 1});
                h.System().fix(base->node);
                h.Dim(ZMR3_DISTANCE, base, top, 10.0);
            }
            std::vector<double> times;
            for (int round = 0; round < std::max(3, 3000 / n); ++round) {
                const double start = ThreadMilliseconds();
                allSolved = h.Solve() == ZMR3_SOLVED && allSolved;
                times.push_back(ThreadMilliseconds() - start);
            }
            std::sort(times.begin(), times.end());
            const double median = times[times.size() / 2];
            state.counters["us_per_pair_at_" + std::to_string(n)] = 1e3 * median / n;
            growth.Add(n, median);
        }
        state.counters["exponent"] = growth.Exponent();
        state.counters["all_solved"] = allSolved;
    }
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

// 0: distances only; 1: distances and parallel bonds.
BENCHMARK(ChainScaling)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(ComponentScaling)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(Grid)->Arg(3)->Arg(10)->Arg(32)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
