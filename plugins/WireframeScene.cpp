// The wireframe plot: a polyline along each series and one across the series at each point.

#include "PlotRequest.h"
#include "PlotSceneBuilders.h"
#include "PlotSceneShared.h"

#include <vtkActor.h>
#include <vtkDataSetMapper.h>
#include <vtkFollower.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkProperty.h>
#include <vtkUnstructuredGrid.h>

void BuildWireframeScene(vtkRenderWindow* window, const PlotRequest& request)
{
    const SeriesCopy copy = CopySeries(request);
    const int seriesCount = static_cast<int>(copy.values.size());
    const vtkIdType n = copy.pointsPerSeries;

    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(seriesCount * n);
    for (int r = 0; r < seriesCount; ++r)
        for (vtkIdType j = 0; j < n; ++j)
            points->SetPoint(r * n + j, static_cast<double>(j), PlottedValue(copy.values[r][j]),
                             static_cast<double>(r * n) / seriesCount);

    vtkNew<vtkUnstructuredGrid> grid;
    grid->AllocateExact(seriesCount + n, 2 * seriesCount * n);
    grid->SetPoints(points);
    std::vector<vtkIdType> ids;
    if (n > 0)
    {
        for (int r = 0; r < seriesCount; ++r)
        {
            ids.clear();
            for (vtkIdType j = 0; j < n; ++j)
                ids.push_back(r * n + j);
            grid->InsertNextCell(VTK_POLY_LINE, n, ids.data());
        }
        for (vtkIdType j = 0; j < n; ++j)
        {
            ids.clear();
            for (int r = 0; r < seriesCount; ++r)
                ids.push_back(r * n + j);
            grid->InsertNextCell(VTK_POLY_LINE, seriesCount, ids.data());
        }
    }

    vtkNew<vtkDataSetMapper> mapper;
    mapper->SetInputData(grid);
    auto wireframe = vtkSmartPointer<vtkActor>::New();
    wireframe->SetMapper(mapper);
    wireframe->GetProperty()->SetColor(kDefaultSurfaceColour.red, kDefaultSurfaceColour.green,
                                       kDefaultSurfaceColour.blue);
    wireframe->RotateX(30.0);
    wireframe->RotateY(-45.0);

    FinishScene(window, {wireframe}, {}, kDefaultBackground, request.title);
}
