// The ten C entry points the host calls.

#include "PlotRequest.h"
#include "PluginWindows.h"
#include "QELSheet.h"
#include "QelPlotPlugin.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <memory>

namespace {

// Stored for the host and never called.
void* s_firstCallback = nullptr;
void* s_secondCallback = nullptr;

// Builds, shows and keeps the dialog of one plot call. The request lives on the caller's
// stack; the dialog has copied all it needs when its constructor returns.
int ShowPlot(const PlotRequest& request, bool modal) noexcept
{
    try
    {
        // Widgets need the host's application object; without one there is nothing to show.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return 0;
        auto sheet = std::make_unique<QELSheet>(&request, nullptr);
        sheet->setModal(modal);
        QELSheet* shown = sheet.get();
        ThePluginWindows().Adopt(sheet.release(), !modal);
        shown->show();
        return 1;
    }
    catch (...)
    {
        return 0;
    }
}

std::int16_t Low16(int value)
{
    return static_cast<std::int16_t>(value & 0xffff);
}

// The fields every series plot fills alike; the caller adds what its kind needs.
PlotRequest SeriesRequest(std::int16_t kind, const double* const* series, const unsigned* counts,
                          int seriesCount, int reserved, const char* title)
{
    PlotRequest request;
    request.kind = kind;
    request.series = series;
    request.counts = counts;
    request.seriesCount = seriesCount;
    request.reserved = reserved;
    request.title = title;
    return request;
}

}  // namespace

extern "C" {

int BRYPluginQELPluginInitialize()
{
    return 1;
}

int BRYPluginQELPluginShutdown()
{
    ThePluginWindows().Clear();
    return 1;
}

int BRYPluginQELPluginIdle()
{
    return 1;
}

int BRYPluginQELPluginRegisterCallbacks(void* first, void* second)
{
    s_firstCallback = first;
    s_secondCallback = second;
    return 1;
}

int BRYPluginQELPluginPlotSeriesAsSurface(const double* const* series, const unsigned* counts,
                                          int seriesCount, int reserved, const char* title,
                                          int scaleSeriesAxis, const QColor* surfaceColour,
                                          const QColor* background)
{
    PlotRequest request =
        SeriesRequest(PlotKindSurface, series, counts, seriesCount, reserved, title);
    request.scaleSeriesAxis = Low16(scaleSeriesAxis);
    request.surfaceColour = surfaceColour;
    request.background = background;
    return ShowPlot(request, true);
}

int BRYPluginQELPluginPlotSeriesAsSurfaceAxis(const double* const* series, const unsigned* counts,
                                              int seriesCount, const PlotAxes* axes, int reserved,
                                              const char* title, int scaleSeriesAxis,
                                              const QColor* surfaceColour, const QColor* background)
{
    PlotRequest request =
        SeriesRequest(PlotKindSurfaceAxis, series, counts, seriesCount, reserved, title);
    request.axes = axes;
    request.scaleSeriesAxis = Low16(scaleSeriesAxis);
    request.surfaceColour = surfaceColour;
    request.background = background;
    return ShowPlot(request, true);
}

int BRYPluginQELPluginPlotSeriesAsWireframe(const double* const* series, const unsigned* counts,
                                            int seriesCount, int reserved, const char* title)
{
    return ShowPlot(
        SeriesRequest(PlotKindWireframe, series, counts, seriesCount, reserved, title), true);
}

int BRYPluginQELPluginPlot3DScatterplot(const double* groupColours, int groupCount,
                                        const ScatterPoint* points, int pointCount,
                                        const PlotAxes* axes, int reserved, const char* title,
                                        const QColor* background)
{
    PlotRequest request;
    request.kind = PlotKindScatter;
    request.groupColours = groupColours;
    request.groupCount = groupCount;
    request.points = points;
    request.pointCount = pointCount;
    request.axes = axes;
    request.reserved = reserved;
    request.title = title;
    request.background = background;
    return ShowPlot(request, false);
}

int BRYPluginQELPluginStartWindowTrackingSet()
{
    ThePluginWindows().StartTrackingSet();
    return 1;
}

int BRYPluginQELPluginTileWindowTrackingSet()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        ThePluginWindows().TileTrackingSet(screen->geometry());
    return 1;
}

}  // extern "C"
