// The geometric tests run inside every solve and update; they must stay plain arithmetic on
// inline values. Compare the transform round trip with a bare 3x3 multiply-add of the same
// point to see the overhead of the abstraction as a ratio.

#include "core/enums/EnumNames.h"
#include "core/maths/Xform.h"

#include <benchmark/benchmark.h>

namespace {

Xform MakePlacement()
{
    Xform turn;
    turn.SetRotationAboutAxis(Vec(1, 2, 3), MakeDir(Vec(1, 1, 1)), 0.6, 0.8);
    Xform shift;
    shift.SetToTranslation(Vec(4, 5, 6));
    return MultiplyXforms(shift, turn);
}

void TransformPointThroughXform(benchmark::State& state)
{
    const Xform placement = MakePlacement();
    Vec p(0.25, 0.5, 0.75);
    for (auto _ : state) {
        placement.TransformPoint(p);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(TransformPointThroughXform);

void TransformPointByHand(benchmark::State& state)
{
    double m[4][4];
    MakePlacement().Get4x4(m);
    double p[3] = {0.25, 0.5, 0.75};
    for (auto _ : state) {
        const double x = m[0][0] * p[0] + m[0][1] * p[1] + m[0][2] * p[2] + m[0][3];
        const double y = m[1][0] * p[0] + m[1][1] * p[1] + m[1][2] * p[2] + m[1][3];
        const double z = m[2][0] * p[0] + m[2][1] * p[1] + m[2][2] * p[2] + m[2][3];
        p[0] = x;
        p[1] = y;
        p[2] = z;
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(TransformPointByHand);

void CompareTransforms(benchmark::State& state)
{
    const Xform a = MakePlacement();
    Xform b = a;
    b.translation.x += 0.5e-8;
    for (auto _ : state)
        benchmark::DoNotOptimize(a.IsEqual(b));
}
BENCHMARK(CompareTransforms);

void ParseBareEnumName(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QEL::ResultTypeFromString("replacewithsurfacefailed"));
}
BENCHMARK(ParseBareEnumName);

}  // namespace

BENCHMARK_MAIN();
