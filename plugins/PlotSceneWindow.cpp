// The last steps every builder shares, and the choice of builder by the request's kind.

#include "PlotRequest.h"
#include "PlotSceneBuilders.h"
#include "PlotSceneShared.h"

#include <vtkCamera.h>
#include <vtkFollower.h>
#include <vtkNew.h>
#include <vtkOpenGLRenderWindow.h>
#include <vtkDataArray.h>
#include <vtkOpenGLVertexBufferObjectCache.h>
#include <vtkProp.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>

namespace {

// The cache's table of data arrays and their buffers, which it keeps to itself.
struct BufferCacheTable : vtkOpenGLVertexBufferObjectCache
{
    static VBOMap& Of(vtkOpenGLVertexBufferObjectCache* cache)
    {
        return cache->*(&BufferCacheTable::MappedVBOs);
    }
};

}  // namespace

void FinishScene(vtkRenderWindow* window, const std::vector<vtkSmartPointer<vtkProp>>& props,
                 const std::vector<vtkFollower*>& labels, PlotColour background, const char* title,
                 double elevation)
{
    vtkNew<vtkRenderer> renderer;
    window->AddRenderer(renderer);
    for (const auto& prop : props)
        renderer->AddViewProp(prop);
    renderer->SetBackground(background.red, background.green, background.blue);
    // Standalone windows get this size; inside the dialog the render widget governs it.
    window->SetSize(200, 200);
    if (elevation != 0.0)
    {
        renderer->GetActiveCamera()->Elevation(elevation);
        renderer->GetActiveCamera()->OrthogonalizeViewUp();
    }
    // A camera made on demand is not framed on the props, so frame it here.
    renderer->ResetCamera();
    renderer->ResetCameraClippingRange();
    for (vtkFollower* label : labels)
        label->SetCamera(renderer->GetActiveCamera());
    window->Render();
    if (title && *title)
        window->SetWindowName(title);
}

bool BuildPlotScene(vtkRenderWindow* window, const PlotRequest& request)
{
    switch (request.kind)
    {
    case PlotKindSurface:
    case PlotKindSurfaceAxis:
        BuildSurfaceScene(window, request);
        return true;
    case PlotKindWireframe:
        BuildWireframeScene(window, request);
        return true;
    case PlotKindScatter:
        BuildScatterScene(window, request);
        return true;
    default:
        return false;
    }
}

void ReleaseSceneGraphics(vtkRenderWindow* window)
{
    auto* openGLWindow = vtkOpenGLRenderWindow::SafeDownCast(window);
    if (!openGLWindow)
        return;
    // Every buffer of the scene leaves the cache at once, with the cache's hold on its data
    // array; the buffers themselves go with their mappers, which then find nothing left to
    // take out. A later render of the window fills the cache again as needed.
    vtkOpenGLVertexBufferObjectCache* cache = openGLWindow->GetVBOCache();
    vtkOpenGLVertexBufferObjectCache::VBOMap& table = BufferCacheTable::Of(cache);
    for (const auto& entry : table)
        entry.first->UnRegister(cache);
    table.clear();
}
