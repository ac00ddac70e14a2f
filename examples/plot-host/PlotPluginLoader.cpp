#include "PlotPluginLoader.h"

#include <dlfcn.h>

#include <type_traits>

const char* const kPlotPluginEntryNames[10] = {
    "BRYPluginQELPluginInitialize",
    "BRYPluginQELPluginShutdown",
    "BRYPluginQELPluginIdle",
    "BRYPluginQELPluginRegisterCallbacks",
    "BRYPluginQELPluginPlotSeriesAsSurface",
    "BRYPluginQELPluginPlotSeriesAsSurfaceAxis",
    "BRYPluginQELPluginPlotSeriesAsWireframe",
    "BRYPluginQELPluginPlot3DScatterplot",
    "BRYPluginQELPluginStartWindowTrackingSet",
    "BRYPluginQELPluginTileWindowTrackingSet",
};

std::string PlotPluginLoader::DefaultPath()
{
    return QEL_PLOT_PLUGIN_PATH;
}

PlotPluginLoader::PlotPluginLoader(const std::string& path)
{
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
    {
        const char* error = dlerror();
        m_error = error ? error : "cannot load " + path;
        return;
    }
    const auto bind = [this](auto& entry, const char* name) {
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(Find(name));
        if (!entry && m_error.empty())
            m_error = std::string("missing entry point ") + name;
    };
    bind(m_entries.initialize, kPlotPluginEntryNames[0]);
    bind(m_entries.shutdown, kPlotPluginEntryNames[1]);
    bind(m_entries.idle, kPlotPluginEntryNames[2]);
    bind(m_entries.registerCallbacks, kPlotPluginEntryNames[3]);
    bind(m_entries.plotSurface, kPlotPluginEntryNames[4]);
    bind(m_entries.plotSurfaceAxis, kPlotPluginEntryNames[5]);
    bind(m_entries.plotWireframe, kPlotPluginEntryNames[6]);
    bind(m_entries.plotScatter, kPlotPluginEntryNames[7]);
    bind(m_entries.startTrackingSet, kPlotPluginEntryNames[8]);
    bind(m_entries.tileTrackingSet, kPlotPluginEntryNames[9]);
    m_complete = m_error.empty();
}

PlotPluginLoader::~PlotPluginLoader()
{
    if (m_handle)
        dlclose(m_handle);
}

void* PlotPluginLoader::Find(const char* name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}
