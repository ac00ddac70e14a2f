#include "PlotSceneReader.h"

#include "PlotSceneShared.h"

#include <vtkActor.h>
#include <vtkActorCollection.h>
#include <vtkAlgorithm.h>
#include <vtkAxes.h>
#include <vtkCamera.h>
#include <vtkFollower.h>
#include <vtkMapper.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkRendererCollection.h>
#include <vtkSphereSource.h>
#include <vtkTubeFilter.h>
#include <vtkDataSet.h>
#include <vtkUnstructuredGrid.h>
#include <vtkVectorText.h>

#include <cmath>

namespace {

int AxisOfColour(const double* rgb)
{
    for (int axis = 0; axis < 3; ++axis)
    {
        const PlotColour& c = kAxisColours[axis];
        if (std::fabs(rgb[0] - c.red) < 1e-9 && std::fabs(rgb[1] - c.green) < 1e-9 &&
            std::fabs(rgb[2] - c.blue) < 1e-9)
            return axis;
    }
    return -1;
}

}  // namespace

std::vector<std::string> PlotScene::Texts(int axis, bool isTitle) const
{
    double largest = 0.0;
    for (const SceneLabel& label : labels)
        if (label.axis == axis)
            largest = std::max(largest, label.scale);
    std::vector<std::string> texts;
    for (const SceneLabel& label : labels)
        if (label.axis == axis && (label.scale == largest) == isTitle)
            texts.push_back(label.text);
    return texts;
}

const SceneLabel* PlotScene::Title(int axis) const
{
    const SceneLabel* title = nullptr;
    for (const SceneLabel& label : labels)
        if (label.axis == axis && (!title || label.scale > title->scale))
            title = &label;
    return title;
}

std::vector<double> PlotScene::Depths(int pointsPerSeries) const
{
    std::vector<double> depths;
    for (vtkIdType id = 0; id < grid->GetNumberOfPoints(); id += pointsPerSeries)
        depths.push_back(grid->GetPoint(id)[2]);
    return depths;
}

int PlotScene::CellCount(int cellType) const
{
    int count = 0;
    for (vtkIdType id = 0; id < grid->GetNumberOfCells(); ++id)
        count += grid->GetCellType(id) == cellType ? 1 : 0;
    return count;
}

PlotScene ReadPlotScene(vtkRenderWindow* window)
{
    PlotScene scene;
    scene.renderer = window->GetRenderers()->GetFirstRenderer();
    if (!scene.renderer)
        return scene;
    vtkActorCollection* actors = scene.renderer->GetActors();
    actors->InitTraversal();
    while (vtkActor* actor = actors->GetNextActor())
    {
        vtkMapper* mapper = actor->GetMapper();
        vtkAlgorithm* source = mapper->GetInputAlgorithm();
        if (auto* follower = vtkFollower::SafeDownCast(actor))
        {
            SceneLabel label;
            label.text = vtkVectorText::SafeDownCast(source)->GetText();
            label.axis = AxisOfColour(follower->GetProperty()->GetColor());
            label.scale = follower->GetScale()[0];
            follower->GetPosition(label.position.data());
            label.facesCamera = follower->GetCamera() == scene.renderer->GetActiveCamera();
            scene.labels.push_back(label);
        }
        else if (auto* sphere = vtkSphereSource::SafeDownCast(source))
        {
            scene.spheres.push_back(actor);
            const double* rgb = actor->GetProperty()->GetColor();
            scene.sphereColours.push_back({rgb[0], rgb[1], rgb[2]});
            const double* centre = sphere->GetCenter();
            scene.sphereCentres.push_back({centre[0], centre[1], centre[2]});
        }
        else if (vtkTubeFilter::SafeDownCast(source))
        {
            scene.axesTubes = actor;
        }
        else if (auto* grid = vtkDataSet::SafeDownCast(mapper->GetInput()))
        {
            scene.grid = grid;
            scene.gridActor = actor;
        }
    }
    return scene;
}
