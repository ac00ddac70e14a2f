// The surface plot: series side by side in depth, neighbouring series joined by quads.

#include "PlotRequest.h"
#include "PlotSceneBuilders.h"
#include "PlotSceneShared.h"

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkFollower.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>

#include <algorithm>
#include <cmath>

namespace {

// Degrees the camera is raised above a flat surface.
constexpr double kFlatSurfaceElevation = 30.0;

double SurfaceFirstTick(const AxesPlacement& placement, int k, int divisions)
{
    return static_cast<double>((placement.firstSpan / divisions) * k);
}

double SurfaceThirdTick(const AxesPlacement& placement, int k, int divisions)
{
    return static_cast<double>((placement.thirdSpan / static_cast<unsigned>(divisions)) *
                               static_cast<unsigned>(k));
}

}  // namespace

void BuildSurfaceScene(vtkRenderWindow* window, const PlotRequest& request)
{
    const PlotColour surfaceColour = ColourOr(request.surfaceColour, kDefaultSurfaceColour);
    const PlotColour background = ColourOr(request.background, kDefaultBackground);
    const SeriesCopy copy = CopySeries(request);
    const int seriesCount = static_cast<int>(copy.values.size());
    const vtkIdType n = copy.pointsPerSeries;
    const bool withAxes = request.kind == PlotKindSurfaceAxis;
    const AxisRecords axes = withAxes ? AxisRecordsFrom(request.axes) : AxisRecords{};

    // Spreading the series over the points' depth needs at least two series; one series
    // (or none) lies at depth 0 whatever the step.
    const double depthStep = request.scaleSeriesAxis != 0 && seriesCount > 1
                                 ? static_cast<double>(n) / (seriesCount - 1)
                                 : 1.0;

    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(seriesCount * n);
    FiniteExtent extent;
    for (int r = 0; r < seriesCount; ++r)
    {
        for (vtkIdType j = 0; j < n; ++j)
        {
            const double value = copy.values[r][j];
            points->SetPoint(r * n + j, static_cast<double>(j), PlottedValue(value), r * depthStep);
            extent.Add(value);
        }
    }

    // The quads go into one cell array sized for all of them, handed to the grid at once. The
    // grid is poly data, which its mapper draws as it is (any other data set would first be
    // turned into poly data, which costs as much as drawing it).
    vtkNew<vtkCellArray> quads;
    const vtkIdType cellCount = seriesCount > 1 && n > 1 ? (seriesCount - 1) * (n - 1) : 0;
    quads->AllocateExact(cellCount, 4 * cellCount);
    for (int r = 0; r + 1 < seriesCount; ++r)
    {
        for (vtkIdType j = 0; j + 1 < n; ++j)
        {
            const vtkIdType quad[4] = {r * n + j, r * n + j + 1, (r + 1) * n + j + 1,
                                       (r + 1) * n + j};
            quads->InsertNextCell(4, quad);
        }
    }
    vtkNew<vtkPolyData> grid;
    grid->SetPoints(points);
    grid->SetPolys(quads);

    vtkNew<vtkPolyDataMapper> mapper;
    mapper->SetInputData(grid);
    mapper->SetScalarModeToUseCellFieldData();
    mapper->ScalarVisibilityOn();
    auto surface = vtkSmartPointer<vtkActor>::New();
    surface->SetMapper(mapper);
    surface->GetProperty()->SetColor(surfaceColour.red, surfaceColour.green, surfaceColour.blue);

    std::vector<vtkSmartPointer<vtkProp>> props{surface};
    std::vector<vtkFollower*> labels;
    // Axes need an extent: without finite values there is nothing to measure them by.
    if (withAxes && extent.any)
    {
        AxesPlacement placement;
        placement.low = extent.smallest;
        placement.range = extent.largest - extent.smallest;
        placement.scale = std::max(std::fabs(placement.range), static_cast<double>(n));
        placement.firstTitleX = static_cast<double>(n / 2);
        placement.thirdTitleZ = static_cast<double>(n / 2);
        placement.firstSpan = static_cast<int>(n);
        placement.thirdSpan =
            static_cast<unsigned>(request.scaleSeriesAxis != 0 ? n : seriesCount);
        placement.firstTickX = SurfaceFirstTick;
        placement.thirdTickZ = SurfaceThirdTick;
        const auto axisProps = MakeAxesAndLabels(axes, placement, labels);
        props.insert(props.end(), axisProps.begin(), axisProps.end());
    }
    // All values equal make a flat surface in the plane the camera looks along, which would
    // show as nothing: it is then seen from above at an angle.
    const bool flat = extent.any && extent.largest == extent.smallest;
    FinishScene(window, props, labels, background, request.title, flat ? kFlatSurfaceElevation : 0.0);
}
