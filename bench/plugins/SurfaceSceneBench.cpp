// Cost of building and rendering a surface plot as the data grows, up to 1,000 series of
// 1,000 values, and beside it a bare poly-data pipeline (points, quads, mapper, actor) on
// the same points: the plot should cost at most 1.3 times the bare pipeline. Run under an X
// display (xvfb-run); without one it reports an error.

#include "LeakCheckSupport.h"
#include "PlotRequest.h"
#include "PlotSceneBuilders.h"

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkRendererCollection.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

// One offscreen window for the whole run: its GL context is made once, outside the timing.
vtkRenderWindow* SharedWindow()
{
    static vtkNew<vtkRenderWindow> window;
    static const bool ready = [] {
        window->SetOffScreenRendering(1);
        window->Render();
        KeepGraphicsDriversMapped();
        return true;
    }();
    (void)ready;
    return window;
}

// The host's data of a square surface: side series of side values.
struct SquareData
{
    explicit SquareData(int side)
        : values(side, std::vector<double>(side)), counts(side, static_cast<unsigned>(side))
    {
        for (int r = 0; r < side; ++r)
        {
            for (int j = 0; j < side; ++j)
                values[r][j] = std::sin(j * 0.05) * std::cos(r * 0.05);
            pointers.push_back(values[r].data());
        }
        request.kind = PlotKindSurface;
        request.series = pointers.data();
        request.counts = counts.data();
        request.seriesCount = side;
        request.scaleSeriesAxis = 1;
    }
    std::vector<std::vector<double>> values;
    std::vector<const double*> pointers;
    std::vector<unsigned> counts;
    PlotRequest request;
};

void RemoveRenderers(vtkRenderWindow* window)
{
    while (vtkRenderer* renderer = window->GetRenderers()->GetFirstRenderer())
        window->RemoveRenderer(renderer);
}

// The same points and quads as the plot, straight into poly data, one mapper and one actor.
void RenderBarePipeline(vtkRenderWindow* window, const SquareData& data)
{
    const vtkIdType side = static_cast<vtkIdType>(data.values.size());
    const double depthStep = side > 1 ? static_cast<double>(side) / (side - 1) : 1.0;
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(side * side);
    for (vtkIdType r = 0; r < side; ++r)
        for (vtkIdType j = 0; j < side; ++j)
            points->SetPoint(r * side + j, static_cast<double>(j), data.values[r][j], r * depthStep);
    vtkNew<vtkCellArray> quads;
    const vtkIdType cells = (side - 1) * (side - 1);
    quads->AllocateExact(cells, 4 * cells);
    for (vtkIdType r = 0; r + 1 < side; ++r)
        for (vtkIdType j = 0; j + 1 < side; ++j)
        {
            const vtkIdType quad[4] = {r * side + j, r * side + j + 1, (r + 1) * side + j + 1,
                                       (r + 1) * side + j};
            quads->InsertNextCell(4, quad);
        }
    vtkNew<vtkPolyData> surface;
    surface->SetPoints(points);
    surface->SetPolys(quads);
    vtkNew<vtkPolyDataMapper> mapper;
    mapper->SetInputData(surface);
    vtkNew<vtkActor> actor;
    actor->SetMapper(mapper);
    vtkNew<vtkRenderer> renderer;
    renderer->AddActor(actor);
    window->AddRenderer(renderer);
    renderer->ResetCamera();
    window->Render();
}

void SurfaceOfSquareData(benchmark::State& state)
{
    if (!std::getenv("DISPLAY"))
    {
        state.SkipWithError("rendering needs an X display");
        return;
    }
    const int side = static_cast<int>(state.range(0));
    const SquareData data(side);
    vtkRenderWindow* window = SharedWindow();
    for (auto _ : state)
    {
        BuildSurfaceScene(window, data.request);

        state.PauseTiming();
        RemoveRenderers(window);
        state.ResumeTiming();
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(side) * side);
}

// Wall time and the processor time of all the process's threads (the software renderer
// draws on several), from one moment on.
struct Stopwatch
{
    Stopwatch() : wall(std::chrono::steady_clock::now()), cpu(std::clock()) {}
    double WallSeconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double CpuSeconds() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
    std::chrono::steady_clock::time_point wall;
    std::clock_t cpu;
};

// The plot and the bare pipeline in turns within each iteration, so both see the same
// machine; prints both times and their ratio, by the clock and by processor time (the
// steadier of the two on a loaded machine).
void SurfaceBesideBarePipeline(benchmark::State& state)
{
    if (!std::getenv("DISPLAY"))
    {
        state.SkipWithError("rendering needs an X display");
        return;
    }
    const SquareData data(static_cast<int>(state.range(0)));
    vtkRenderWindow* window = SharedWindow();
    double surfaceSeconds = 0.0;
    double bareSeconds = 0.0;
    double surfaceCpu = 0.0;
    double bareCpu = 0.0;
    for (auto _ : state)
    {
        const Stopwatch surface;
        BuildSurfaceScene(window, data.request);
        const double surfaceWall = surface.WallSeconds();
        surfaceCpu += surface.CpuSeconds();
        RemoveRenderers(window);

        const Stopwatch bare;
        RenderBarePipeline(window, data);
        bareSeconds += bare.WallSeconds();
        bareCpu += bare.CpuSeconds();
        RemoveRenderers(window);

        state.SetIterationTime(surfaceWall);
        surfaceSeconds += surfaceWall;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["surface_ms"] = 1000.0 * surfaceSeconds / runs;
    state.counters["bare_ms"] = 1000.0 * bareSeconds / runs;
    state.counters["surface_per_bare"] = surfaceSeconds / bareSeconds;
    state.counters["surface_cpu_ms"] = 1000.0 * surfaceCpu / runs;
    state.counters["bare_cpu_ms"] = 1000.0 * bareCpu / runs;
    state.counters["surface_per_bare_cpu"] = surfaceCpu / bareCpu;
}

BENCHMARK(SurfaceOfSquareData)
    ->Arg(100)->Arg(300)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK(SurfaceBesideBarePipeline)
    ->Arg(300)->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
