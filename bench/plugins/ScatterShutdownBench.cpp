// Closing the plug-in with a large scatter dialog open, beside the plot call that built it
// (the call, and the events until the dialog is on screen). Each run prints both times and
// their ratio; closing should take no longer than plotting. Run under an X display
// (xvfb-run); without one it reports an error.

#include "PlotRequest.h"
#include "QelPlotPlugin.h"
#include "SheetCapture.h"

#include <QApplication>
#include <QDialog>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ScatterPlotThenShutdown(benchmark::State& state)
{
    if (!std::getenv("DISPLAY"))
    {
        state.SkipWithError("the dialogs need an X display");
        return;
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(0.0, 1.0);
    std::vector<ScatterPoint> points(static_cast<size_t>(state.range(0)));
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = {coordinate(random), coordinate(random), coordinate(random), static_cast<int>(i % 3)};
    const double groupColours[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    PlotAxes axes{"x", 0.0, 1.0, 4, "y", 0.0, 1.0, 4, "z", 0.0, 1.0, 4};
    const QColor background(26, 51, 102);

    double plotSeconds = 0.0;
    double shutdownSeconds = 0.0;
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<QDialog*> before = PlotDialogs();
        BRYPluginQELPluginPlot3DScatterplot(groupColours, 3, points.data(),
                                            static_cast<int>(points.size()), &axes, 0, "scatter",
                                            &background);
        for (QDialog* dialog : NewPlotDialogs(before))
            WaitUntilExposed(dialog, 600000);
        const double plot = SecondsSince(start);

        const auto closing = std::chrono::steady_clock::now();
        BRYPluginQELPluginShutdown();
        const double shutdown = SecondsSince(closing);
        state.SetIterationTime(plot + shutdown);
        plotSeconds += plot;
        shutdownSeconds += shutdown;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["plot_s"] = plotSeconds / runs;
    state.counters["shutdown_s"] = shutdownSeconds / runs;
    state.counters["shutdown_per_plot"] = shutdownSeconds / plotSeconds;
}

BENCHMARK(ScatterPlotThenShutdown)
    ->Arg(10000)->Arg(30000)->Arg(100000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
