// Copies of the host's data that the builders work from.

#include "PlotRequest.h"
#include "PlotSceneShared.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <limits>

PlotColour ColourOr(const QColor* colour, PlotColour fallback)
{
    if (!colour)
        return fallback;
    return {colour->red() / 255.0, colour->green() / 255.0, colour->blue() / 255.0};
}

SeriesCopy CopySeries(const PlotRequest& request)
{
    SeriesCopy copy;
    const int seriesCount = std::max(request.seriesCount, 0);
    if (seriesCount == 0)
        return copy;
    unsigned shortest = request.counts[0];
    for (int i = 1; i < seriesCount; ++i)
        shortest = std::min(shortest, request.counts[i]);
    copy.pointsPerSeries = static_cast<int>(std::min<unsigned>(shortest, 0x7fffffffu));
    copy.values.reserve(seriesCount);
    for (int i = 0; i < seriesCount; ++i)
        copy.values.emplace_back(request.series[i], request.series[i] + copy.pointsPerSeries);
    return copy;
}

AxisRecords AxisRecordsFrom(const PlotAxes* axes)
{
    AxisRecords records;
    if (!axes)
        return records;
    const auto fill = [](AxisRecord& record, const char* label, double low, double high,
                         int divisions) {
        record.title = label ? label : "";
        record.low = low;
        record.high = high;
        record.divisions = divisions;
        record.drawn = true;
    };
    fill(records[0], axes->xLabel, axes->xMin, axes->xMax, axes->xDivisions);
    fill(records[1], axes->yLabel, axes->yMin, axes->yMax, axes->yDivisions);
    fill(records[2], axes->zLabel, axes->zMin, axes->zMax, axes->zDivisions);
    return records;
}

double PlottedValue(double value)
{
    return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

void FiniteExtent::Add(double value)
{
    if (!std::isfinite(value))
        return;
    smallest = any ? std::min(smallest, value) : value;
    largest = any ? std::max(largest, value) : value;
    any = true;
}
