#pragma once
// Loads the plot plug-in by file name, as a host application does, and resolves its ten
// C entry points. Unloads it when it goes.

#include "QelPlotPlugin.h"

#include <string>

struct PlotPluginEntries
{
    decltype(&BRYPluginQELPluginInitialize) initialize = nullptr;
    decltype(&BRYPluginQELPluginShutdown) shutdown = nullptr;
    decltype(&BRYPluginQELPluginIdle) idle = nullptr;
    decltype(&BRYPluginQELPluginRegisterCallbacks) registerCallbacks = nullptr;
    decltype(&BRYPluginQELPluginPlotSeriesAsSurface) plotSurface = nullptr;
    decltype(&BRYPluginQELPluginPlotSeriesAsSurfaceAxis) plotSurfaceAxis = nullptr;
    decltype(&BRYPluginQELPluginPlotSeriesAsWireframe) plotWireframe = nullptr;
    decltype(&BRYPluginQELPluginPlot3DScatterplot) plotScatter = nullptr;
    decltype(&BRYPluginQELPluginStartWindowTrackingSet) startTrackingSet = nullptr;
    decltype(&BRYPluginQELPluginTileWindowTrackingSet) tileTrackingSet = nullptr;
};

// The names the host looks up, in the order of the fields above.
extern const char* const kPlotPluginEntryNames[10];

class PlotPluginLoader
{
public:
    // The plug-in built beside this program.
    static std::string DefaultPath();

    explicit PlotPluginLoader(const std::string& path);
    ~PlotPluginLoader();
    PlotPluginLoader(const PlotPluginLoader&) = delete;
    PlotPluginLoader& operator=(const PlotPluginLoader&) = delete;

    // True when the library loaded and all ten names resolved.
    bool IsLoaded() const { return m_complete; }
    const std::string& Error() const { return m_error; }
    const PlotPluginEntries& Entries() const { return m_entries; }

    // The address of any exported name, or null.
    void* Find(const char* name) const;

private:
    void* m_handle = nullptr;
    bool m_complete = false;
    std::string m_error;
    PlotPluginEntries m_entries;
};
