#pragma once
// The record every plot call fills on its own stack and hands to the dialog it creates.

#include "QelPlotPlugin.h"

#include <cstdint>

enum PlotKind : std::int16_t
{
    PlotKindSurface = 0,
    PlotKindSurfaceAxis = 1,
    PlotKindWireframe = 2,
    PlotKindScatter = 3,
};

struct PlotRequest
{
    std::int16_t kind = PlotKindSurface;
    const double* const* series = nullptr;  // one pointer per data series
    const unsigned* counts = nullptr;       // number of values of each series
    int seriesCount = 0;
    int reserved = 0;                       // taken from the caller and never read
    const char* title = nullptr;            // when not empty, the render window's name
    std::int16_t scaleSeriesAxis = 0;       // non-zero: series spread over the points' depth
    const QColor* surfaceColour = nullptr;  // null gives the default
    const QColor* background = nullptr;     // null gives the default
    const PlotAxes* axes = nullptr;         // null when the call has none
    const double* groupColours = nullptr;   // scatter: (red, green, blue) per group
    int groupCount = 0;                     // scatter: number of triples in groupColours
    const ScatterPoint* points = nullptr;   // scatter: the points
    int pointCount = 0;
};
