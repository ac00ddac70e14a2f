#pragma once
// The host's view of the plot plug-in: the records it passes and the ten C entry points.
// Every entry point returns 1; a plot call returns 0 only when its dialog could not be built.
// The plug-in copies what it needs during each call, so the host's arrays need live only
// for the call.

#include <cstdint>

class QColor;

#if defined(QEL_BUILDING_PLOT_PLUGIN)
#define QEL_PLOT_PLUGIN_API __attribute__((visibility("default")))
#else
#define QEL_PLOT_PLUGIN_API
#endif

// The three axis descriptions of the surface-with-axes and scatter plots.
struct PlotAxes
{
    const char* xLabel;   // title of the first axis (the point index, or x)
    double xMin;          // value printed at the first tick of the first axis
    double xMax;          // value printed at the last tick
    int xDivisions;       // number of intervals between ticks
    const char* yLabel;   // title of the second axis (the values, or y)
    double yMin;
    double yMax;
    int yDivisions;
    const char* zLabel;   // title of the third axis (the series, or z)
    double zMin;
    double zMax;
    int zDivisions;
};

// One point of a scatter plot; group indexes the triples of the group colours.
struct ScatterPoint
{
    double x;
    double y;
    double z;
    int group;
};

extern "C" {

QEL_PLOT_PLUGIN_API int BRYPluginQELPluginInitialize();
// Deletes every dialog the plug-in made and empties the tracking list: the dialogs run the
// plug-in's code, so none may outlive it once the host unloads it.
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginShutdown();
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginIdle();
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginRegisterCallbacks(void* first, void* second);

// Modal surface dialog; scaleSeriesAxis counts by its low 16 bits.
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginPlotSeriesAsSurface(
    const double* const* series, const unsigned* counts, int seriesCount, int reserved,
    const char* title, int scaleSeriesAxis, const QColor* surfaceColour, const QColor* background);

// Modal surface dialog with labelled axes.
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginPlotSeriesAsSurfaceAxis(
    const double* const* series, const unsigned* counts, int seriesCount, const PlotAxes* axes,
    int reserved, const char* title, int scaleSeriesAxis, const QColor* surfaceColour,
    const QColor* background);

// Modal wireframe dialog.
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginPlotSeriesAsWireframe(
    const double* const* series, const unsigned* counts, int seriesCount, int reserved,
    const char* title);

// Modeless scatter dialog, appended to the tracking list. groupColours holds groupCount
// (red, green, blue) triples, each component from 0 to 1.
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginPlot3DScatterplot(
    const double* groupColours, int groupCount, const ScatterPoint* points, int pointCount,
    const PlotAxes* axes, int reserved, const char* title, const QColor* background);

// Empties the tracking list; the dialogs stay open.
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginStartWindowTrackingSet();

// Tiles the tracked scatter dialogs over the default screen.
QEL_PLOT_PLUGIN_API int BRYPluginQELPluginTileWindowTrackingSet();

}  // extern "C"
