// Cost of building and rendering a surface plot as the data grows, up to 1,000 series of
// 1,000 values. Run under an X display (xvfb-run); without one it reports an error.

#include "LeakCheckSupport.h"
#include "PlotRequest.h"
#include "PlotSceneBuilders.h"

#include <vtkNew.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkRendererCollection.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
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

void SurfaceOfSquareData(benchmark::State& state)
{
    if (!std::getenv("DISPLAY"))
    {
        state.SkipWithError("rendering needs an X display");
        return;
    }
    const int side = static_cast<int>(state.range(0));
    std::vector<std::vector<double>> values(side, std::vector<double>(side));
    std::vector<const double*> pointers;
    std::vector<unsigned> counts(side, static_cast<unsigned>(side));
    for (int r = 0; r < side; ++r)
    {
        for (int j = 0; j < side; ++j)
            values[r][j] = std::sin(j * 0.05) * std::cos(r * 0.05);
        pointers.push_back(values[r].data());
    }
    PlotRequest request;
    request.kind = PlotKindSurface;
    request.series = pointers.data();
    request.counts = counts.data();
    request.seriesCount = side;
    request.scaleSeriesAxis = 1;

    vtkRenderWindow* window = SharedWindow();
    for (auto _ : state)
    {
        BuildSurfaceScene(window, request);

        state.PauseTiming();
        while (vtkRenderer* renderer = window->GetRenderers()->GetFirstRenderer())
            window->RemoveRenderer(renderer);
        state.ResumeTiming();
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(side) * side);
}

BENCHMARK(SurfaceOfSquareData)
    ->Arg(100)->Arg(300)->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
