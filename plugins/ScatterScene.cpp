// The scatter plot: a small sphere per point in its group's colour, with labelled axes.

#include "PlotRequest.h"
#include "PlotSceneBuilders.h"
#include "PlotSceneShared.h"

#include <vtkActor.h>
#include <vtkFollower.h>
#include <vtkNew.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkSphereSource.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

double ScatterTick(const AxesPlacement& placement, int k, int divisions)
{
    return std::fabs(placement.range) / divisions * k;
}

}  // namespace

void BuildScatterScene(vtkRenderWindow* window, const PlotRequest& request)
{
    const AxisRecords axes = AxisRecordsFrom(request.axes);
    // Groups without an entry are drawn black.
    std::map<int, PlotColour> groupColours;
    for (int g = 0; g < request.groupCount; ++g)
    {
        const double* rgb = request.groupColours + 3 * g;
        groupColours[g] = {rgb[0], rgb[1], rgb[2]};
    }

    std::vector<vtkSmartPointer<vtkProp>> props;
    const int pointCount = std::max(request.pointCount, 0);
    FiniteExtent extent;
    for (int i = 0; i < pointCount; ++i)
    {
        const ScatterPoint& point = request.points[i];
        vtkNew<vtkSphereSource> sphere;
        sphere->SetRadius(0.01);
        // A point that is not finite keeps its sphere, hidden at the origin: a hidden prop
        // stays out of the bounds the camera is framed by.
        const bool finite = std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z);
        if (finite)
            sphere->SetCenter(point.x, point.y, point.z);
        vtkNew<vtkPolyDataMapper> mapper;
        mapper->SetInputConnection(sphere->GetOutputPort());
        mapper->SetScalarModeToUseCellFieldData();
        mapper->ScalarVisibilityOn();
        auto actor = vtkSmartPointer<vtkActor>::New();
        actor->SetMapper(mapper);
        actor->SetVisibility(finite);
        const auto found = groupColours.find(point.group);
        const PlotColour colour =
            found != groupColours.end() ? found->second : PlotColour{0.0, 0.0, 0.0};
        actor->GetProperty()->SetColor(colour.red, colour.green, colour.blue);
        props.push_back(actor);

        for (double coordinate : {point.x, point.y, point.z})
            extent.Add(coordinate);
    }

    std::vector<vtkFollower*> labels;
    // Without finite coordinates there is no extent to size the axes by.
    if (extent.any)
    {
        AxesPlacement placement;
        placement.low = extent.smallest;
        placement.range = extent.largest - extent.smallest;
        // Equal coordinates have no extent; axes of length 1 keep the scene drawable.
        placement.scale = placement.range != 0.0 ? std::fabs(placement.range) : 1.0;
        placement.firstTitleX = std::fabs(placement.range) * 0.5;
        placement.thirdTitleZ = std::fabs(placement.range) * 0.5;
        placement.firstTickX = ScatterTick;
        placement.thirdTickZ = ScatterTick;
        const auto axisProps = MakeAxesAndLabels(axes, placement, labels);
        props.insert(props.end(), axisProps.begin(), axisProps.end());
    }
    FinishScene(window, props, labels, ColourOr(request.background, kDefaultBackground),
                request.title);
}
