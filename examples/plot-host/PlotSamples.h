#pragma once
// The sample plots the host shows: each builds its data on the heap, calls one plot entry
// point, then scribbles over its arrays and frees them at once, as the plug-in must have
// copied all it needs during the call.

#include "PlotPluginLoader.h"

#include <QRgb>

#include <vector>

// A surface of seriesCount waves of pointsPerSeries values each.
std::vector<std::vector<double>> WaveSeries(int seriesCount, int pointsPerSeries);

// Three clusters of scatter points in the unit cube, groups 0, 1 and 2.
std::vector<ScatterPoint> ClusterPoints(int pointsPerGroup);

struct SamplePlot
{
    const char* name;    // also the picture's file name without ".png"
    bool modal;          // what the plug-in must make of the dialog
    QRgb background;     // the background the picture must show
    int (*plot)(const PlotPluginEntries& entries);
};

// Surface, surface with axes, wireframe and scatter, in this order.
extern const SamplePlot kSamplePlots[4];

// The wave sizes the samples use.
constexpr int kSampleSeriesCount = 12;
constexpr int kSamplePointsPerSeries = 40;
constexpr int kSampleScatterPointsPerGroup = 100;
