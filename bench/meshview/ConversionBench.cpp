// Cost of converting wire models: wires (built point by point) and extrusions (two
// Delaunay caps each), at growing counts, to show how the cost grows.
#include <benchmark/benchmark.h>

#include <dovCQel.h>

namespace
{
void addWires(dovCZyn& model, long count)
{
  for (long i = 0; i < count; ++i)
  {
    const double x = static_cast<double>(i % 100) * 3, y = static_cast<double>(i / 100) * 3;
    auto* wire = new dovCZyn_Wire(0.5, 12);
    dovCZyn_3DPolyline path;
    path.AddPoint(x, y, 0);
    path.AddPoint(x, y, 8);
    path.AddPoint(x + 10, y, 10);
    path.AddPoint(x + 30, y, 0);
    wire->Add3DPolyline(path);
    model.AddGeometry(wire);
  }
}

void addExtrusions(dovCZyn& model, long count)
{
  for (long i = 0; i < count; ++i)
  {
    const double x = static_cast<double>(i % 40) * 10, y = static_cast<double>(i / 40) * 10;
    auto* extrusion = new dovCZyn_Extrusion(0, 2);
    dovCZyn_2DPolygon outline;
    for (auto [dx, dy] : {std::pair{0.0, 0.0}, {8.0, 0.0}, {8.0, 8.0}, {0.0, 8.0}})
      outline.AddPoint(x + dx, y + dy);
    extrusion->AddChild(outline);
    extrusion->AddChild(dovCZyn_2DCircle(x + 4, y + 4, 2, 24));
    model.AddGeometry(extrusion);
  }
}

// Times converting a model that `fill` gives state.range(0) objects.
void convertModel(benchmark::State& state, void (*fill)(dovCZyn&, long))
{
  dovCZyn model;
  fill(model, state.range(0));
  for (auto _ : state)
  {
    dovCQel qel;
    qel.ImportData(&model);
    benchmark::DoNotOptimize(qel.GetPolyDataCount());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ConvertWires(benchmark::State& state)
{
  convertModel(state, addWires);
}
BENCHMARK(BM_ConvertWires)->Arg(1000)->Arg(10000)->Complexity()->Unit(benchmark::kMillisecond);

void BM_ConvertExtrusions(benchmark::State& state)
{
  convertModel(state, addExtrusions);
}
BENCHMARK(BM_ConvertExtrusions)->Arg(100)->Arg(1000)->Complexity()->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
