#include "PlotSamples.h"

#include <QColor>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

std::vector<std::vector<double>> WaveSeries(int seriesCount, int pointsPerSeries)
{
    std::vector<std::vector<double>> series(seriesCount);
    for (int r = 0; r < seriesCount; ++r)
        for (int j = 0; j < pointsPerSeries; ++j)
            series[r].push_back(8.0 + 6.0 * std::sin(j / 6.0) * std::cos(r / 3.0));
    return series;
}

std::vector<ScatterPoint> ClusterPoints(int pointsPerGroup)
{
    const double centres[3][3] = {{0.25, 0.3, 0.3}, {0.7, 0.6, 0.4}, {0.4, 0.75, 0.8}};
    std::vector<ScatterPoint> points;
    for (int g = 0; g < 3; ++g)
        for (int i = 0; i < pointsPerGroup; ++i)
        {
            // A fixed spiral around each centre keeps the picture the same on every run.
            const double t = i * 0.7;
            const double radius = 0.02 + 0.15 * i / pointsPerGroup;
            points.push_back({centres[g][0] + radius * std::cos(t),
                              centres[g][1] + radius * std::sin(t),
                              centres[g][2] + radius * std::cos(1.3 * t), g});
        }
    return points;
}

namespace {

constexpr double kScribble = std::numeric_limits<double>::quiet_NaN();

// The host's copy of a set of series, laid out as the entry points take it.
struct HostSeries
{
    explicit HostSeries(const std::vector<std::vector<double>>& source) : values(source)
    {
        for (const auto& series : values)
        {
            pointers.push_back(series.data());
            counts.push_back(static_cast<unsigned>(series.size()));
        }
    }
    void Scribble()
    {
        for (auto& series : values)
            for (double& value : series)
                value = kScribble;
        for (unsigned& count : counts)
            count = 0xdeadbeef;
    }
    int Count() const { return static_cast<int>(values.size()); }

    std::vector<std::vector<double>> values;
    std::vector<const double*> pointers;
    std::vector<unsigned> counts;
};

// Axis titles on the heap, freed right after the call like the rest of the host's data.
struct HostAxes
{
    HostAxes(const char* x, const char* y, const char* z) : titles{x, y, z} {}
    PlotAxes Describe(double xMax, double yMin, double yMax, double zMax) const
    {
        return {titles[0].c_str(), 0.0, xMax, 4, titles[1].c_str(), yMin, yMax, 4,
                titles[2].c_str(), 0.0, zMax, 4};
    }
    std::string titles[3];
};

int PlotSurface(const PlotPluginEntries& entries)
{
    auto data = std::make_unique<HostSeries>(WaveSeries(kSampleSeriesCount, kSamplePointsPerSeries));
    auto title = std::make_unique<std::string>("Surface");
    auto background = std::make_unique<QColor>(30, 30, 40);
    const int result = entries.plotSurface(data->pointers.data(), data->counts.data(), data->Count(),
                                           0, title->c_str(), 1, nullptr, background.get());
    data->Scribble();
    *title = "scribbled";
    return result;
}

int PlotSurfaceAxis(const PlotPluginEntries& entries)
{
    auto data = std::make_unique<HostSeries>(WaveSeries(kSampleSeriesCount, kSamplePointsPerSeries));
    auto names = std::make_unique<HostAxes>("Point", "Value", "Series");
    auto axes = std::make_unique<PlotAxes>(
        names->Describe(kSamplePointsPerSeries, 2.0, 14.0, kSampleSeriesCount));
    auto colour = std::make_unique<QColor>(90, 200, 255);
    const int result = entries.plotSurfaceAxis(data->pointers.data(), data->counts.data(),
                                               data->Count(), axes.get(), 0, "Surface with axes",
                                               1, colour.get(), nullptr);
    data->Scribble();
    names->titles[0] = names->titles[1] = names->titles[2] = "scribbled";
    return result;
}

int PlotWireframe(const PlotPluginEntries& entries)
{
    auto data = std::make_unique<HostSeries>(WaveSeries(kSampleSeriesCount, kSamplePointsPerSeries));
    const int result = entries.plotWireframe(data->pointers.data(), data->counts.data(),
                                             data->Count(), 0, "Wireframe");
    data->Scribble();
    return result;
}

int PlotScatter(const PlotPluginEntries& entries)
{
    auto points = std::make_unique<std::vector<ScatterPoint>>(ClusterPoints(kSampleScatterPointsPerGroup));
    auto colours = std::make_unique<std::vector<double>>(
        std::vector<double>{1.0, 0.35, 0.3, 0.35, 1.0, 0.45, 0.45, 0.6, 1.0});
    auto names = std::make_unique<HostAxes>("X", "Y", "Z");
    auto axes = std::make_unique<PlotAxes>(names->Describe(1.0, 0.0, 1.0, 1.0));
    auto background = std::make_unique<QColor>(20, 20, 20);
    const int result = entries.plotScatter(colours->data(), 3, points->data(),
                                           static_cast<int>(points->size()), axes.get(), 0,
                                           "Scatter", background.get());
    for (ScatterPoint& point : *points)
        point = {kScribble, kScribble, kScribble, -1};
    for (double& component : *colours)
        component = kScribble;
    names->titles[0] = names->titles[1] = names->titles[2] = "scribbled";
    return result;
}

}  // namespace

const SamplePlot kSamplePlots[4] = {
    {"plot-surface", true, qRgb(30, 30, 40), PlotSurface},
    {"plot-surface-axes", true, qRgb(26, 51, 102), PlotSurfaceAxis},
    {"plot-wireframe", true, qRgb(26, 51, 102), PlotWireframe},
    {"plot-scatter", false, qRgb(20, 20, 20), PlotScatter},
};
