// The scene builders on a standalone render window, one table of plot requests.

#include "PlotRequest.h"
#include "PlotSceneBuilders.h"
#include "PlotSceneReader.h"

#include <QColor>

#include <vtkActor.h>
#include <vtkCamera.h>
#include <vtkCellType.h>
#include <vtkNew.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkUnstructuredGrid.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// The host's side of one request: the arrays stay here while the builder runs.
struct HostData
{
    std::vector<std::vector<double>> series;
    std::vector<const double*> pointers;
    std::vector<unsigned> counts;
    std::vector<ScatterPoint> points;
    std::vector<double> groupColours;
    PlotAxes axes{"x", 0.0, 1.0, 4, "y", 0.0, 1.0, 4, "z", 0.0, 1.0, 4};
    QColor surfaceColour;
    QColor background;
    PlotRequest request;

    void Series(const std::vector<std::vector<double>>& values)
    {
        series = values;
        for (const auto& s : series)
        {
            pointers.push_back(s.data());
            counts.push_back(static_cast<unsigned>(s.size()));
        }
        request.series = pointers.data();
        request.counts = counts.data();
        request.seriesCount = static_cast<int>(series.size());
    }
    void Points(const std::vector<ScatterPoint>& values)
    {
        points = values;
        request.points = points.data();
        request.pointCount = static_cast<int>(points.size());
        request.axes = &axes;
    }
};

std::vector<std::vector<double>> Ramp(int seriesCount, int length)
{
    std::vector<std::vector<double>> values(seriesCount);
    for (int r = 0; r < seriesCount; ++r)
        for (int j = 0; j < length; ++j)
            values[r].push_back(r + 0.5 * j);
    return values;
}

// Whether the scene's camera was framed on finite bounds; one infinite bound sends it off
// to infinity and the picture is blank.
bool CameraIsFinite(const PlotScene& s)
{
    vtkCamera* camera = s.renderer->GetActiveCamera();
    const double* position = camera->GetPosition();
    const double* focus = camera->GetFocalPoint();
    for (int c = 0; c < 3; ++c)
        if (!std::isfinite(position[c]) || !std::isfinite(focus[c]))
            return false;
    return std::isfinite(camera->GetClippingRange()[1]);
}

struct BuilderCase
{
    const char* name;
    std::function<void(HostData&)> make;
    std::function<void(const PlotScene&, vtkRenderWindow*)> check;
};

void PrintTo(const BuilderCase& c, std::ostream* os)
{
    *os << c.name;
}

const BuilderCase kCases[] = {
    {"TwoSeriesOfFiveGiveTenPointsAndFourQuads",
     [](HostData& d) { d.Series(Ramp(2, 5)); },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.grid->GetNumberOfPoints(), 10);
         EXPECT_EQ(s.CellCount(VTK_QUAD), 4);
         EXPECT_EQ(s.grid->GetNumberOfCells(), 4);
     }},
    {"AllEqualValuesDrawTheFlatSurfaceSeenAtAnAngle",
     [](HostData& d) { d.Series(std::vector<std::vector<double>>(3, std::vector<double>(4, 2.0))); },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.CellCount(VTK_QUAD), 6);
         EXPECT_TRUE(s.gridActor->GetVisibility());
         EXPECT_TRUE(CameraIsFinite(s));
         // The surface lies across the camera's line of sight, not along it (edge-on it
         // would cover no pixel).
         const double* direction = s.renderer->GetActiveCamera()->GetDirectionOfProjection();
         EXPECT_GE(std::fabs(direction[1]), 0.4);
     }},
    {"ShortestSeriesLimitsThePlottedValues",
     [](HostData& d) { d.Series({{1, 2, 3, 4, 5}, {1, 2, 3}}); },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.grid->GetNumberOfPoints(), 6);
         EXPECT_EQ(s.grid->GetNumberOfCells(), 2);
         EXPECT_DOUBLE_EQ(s.grid->GetPoint(3)[1], 1.0);  // series 1 starts at point 3
     }},
    {"ScaledSeriesAxisSpreadsDepthOverThePoints",
     [](HostData& d) { d.Series(Ramp(3, 10)); d.request.scaleSeriesAxis = 1; },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_THAT(s.Depths(10), ElementsAre(0.0, 5.0, 10.0));
     }},
    {"UnscaledSeriesAxisStepsDepthByOne",
     [](HostData& d) { d.Series(Ramp(3, 10)); },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_THAT(s.Depths(10), ElementsAre(0.0, 1.0, 2.0));
     }},
    {"OneScaledSeriesLiesAtDepthZeroWithoutCells",
     [](HostData& d) { d.Series(Ramp(1, 5)); d.request.scaleSeriesAxis = 1; },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.grid->GetNumberOfPoints(), 5);
         EXPECT_EQ(s.grid->GetNumberOfCells(), 0);
         EXPECT_THAT(s.Depths(5), ElementsAre(0.0));
     }},
    {"SurfaceWithoutSeriesIsAnEmptyScene",
     [](HostData& d) { d.request.kind = PlotKindSurfaceAxis; d.request.axes = &d.axes; },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.grid->GetNumberOfPoints(), 0);
         EXPECT_EQ(s.axesTubes, nullptr);
         EXPECT_THAT(s.labels, IsEmpty());
     }},
    {"SurfaceTakesTheRequestsColours",
     [](HostData& d) {
         d.Series(Ramp(2, 3));
         d.surfaceColour = QColor(255, 0, 51);
         d.background = QColor(0, 102, 255);
         d.request.surfaceColour = &d.surfaceColour;
         d.request.background = &d.background;
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_THAT(std::vector<double>(s.gridActor->GetProperty()->GetColor(),
                                         s.gridActor->GetProperty()->GetColor() + 3),
                     ElementsAre(1.0, 0.0, 0.2));
         EXPECT_THAT(std::vector<double>(s.renderer->GetBackground(), s.renderer->GetBackground() + 3),
                     ElementsAre(0.0, 0.4, 1.0));
     }},
    {"SurfaceDefaultsToCoralOnDarkBlue",
     [](HostData& d) { d.Series(Ramp(2, 3)); },
     [](const PlotScene& s, vtkRenderWindow* w) {
         EXPECT_THAT(std::vector<double>(s.gridActor->GetProperty()->GetColor(),
                                         s.gridActor->GetProperty()->GetColor() + 3),
                     ElementsAre(1.0, 0.3882, 0.2784));
         EXPECT_THAT(std::vector<double>(s.renderer->GetBackground(), s.renderer->GetBackground() + 3),
                     ElementsAre(0.1, 0.2, 0.4));
         EXPECT_EQ(w->GetSize()[0], 200);
         EXPECT_EQ(w->GetSize()[1], 200);
     }},
    {"NegativeValuesSetTheExtentAndTheValueTitleHeight",
     [](HostData& d) {
         d.Series({{-5, -2, -1}, {-3, -4, -1}});
         d.request.kind = PlotKindSurfaceAxis;
         d.request.axes = &d.axes;
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         ASSERT_NE(s.Title(1), nullptr);
         EXPECT_DOUBLE_EQ(s.Title(1)->position[1], -3.0);
         // scale = max(|range| 4, 3 points) = 4, s = 4 / 6: first title below the extent.
         EXPECT_DOUBLE_EQ(s.Title(0)->position[1], -5.0 - 4.0 / 6.0);
         double bounds[6];
         s.axesTubes->GetBounds(bounds);
         EXPECT_NEAR(bounds[2], -5.0, 0.1);  // the axes start at the low end
     }},
    {"ValuesThatAreNotFiniteStayOutOfTheSurfaceExtentAndFraming",
     [](HostData& d) {
         d.Series({{-5, INFINITY, -1}, {-3, -INFINITY, NAN}});
         d.request.kind = PlotKindSurfaceAxis;
         d.request.axes = &d.axes;
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         ASSERT_NE(s.Title(1), nullptr);
         EXPECT_DOUBLE_EQ(s.Title(1)->position[1], -3.0);
         EXPECT_TRUE(CameraIsFinite(s));
     }},
    {"InfinitiesInAWireframeStayOutOfItsFraming",
     [](HostData& d) { d.Series({{1, INFINITY, 2}, {-INFINITY, 0, 1}}); d.request.kind = PlotKindWireframe; },
     [](const PlotScene& s, vtkRenderWindow*) { EXPECT_TRUE(CameraIsFinite(s)); }},
    {"TickLabelsSpanLowToHighInDivisionSteps",
     [](HostData& d) {
         d.Series(Ramp(2, 9));
         d.request.kind = PlotKindSurfaceAxis;
         d.request.axes = &d.axes;
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_THAT(s.Texts(0, false), ElementsAre("0", "0.25", "0.5", "0.75", "1"));
         EXPECT_THAT(s.Texts(0, true), ElementsAre("x"));
         EXPECT_THAT(s.Texts(2, true), ElementsAre("z"));
         for (const SceneLabel& label : s.labels)
             EXPECT_TRUE(label.facesCamera) << label.text;
     }},
    {"ZeroOrNegativeDivisionsDrawTheTitleAlone",
     [](HostData& d) {
         d.Series(Ramp(2, 9));
         d.request.kind = PlotKindSurfaceAxis;
         d.axes.xDivisions = 0;
         d.axes.yDivisions = -2;
         d.request.axes = &d.axes;
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_THAT(s.Texts(0, true), ElementsAre("x"));
         EXPECT_THAT(s.Texts(0, false), IsEmpty());
         EXPECT_THAT(s.Texts(1, true), ElementsAre("y"));
         EXPECT_THAT(s.Texts(1, false), IsEmpty());
         EXPECT_EQ(s.Texts(2, false).size(), 5u);
     }},
    {"PlainSurfaceHasNoAxes",
     [](HostData& d) { d.Series(Ramp(2, 9)); d.request.axes = &d.axes; },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.axesTubes, nullptr);
         EXPECT_THAT(s.labels, IsEmpty());
     }},
    {"WireframeDrawsAPolylineAlongAndAcrossTheSeries",
     [](HostData& d) { d.Series(Ramp(2, 4)); d.request.kind = PlotKindWireframe; },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.grid->GetNumberOfPoints(), 8);
         EXPECT_EQ(s.CellCount(VTK_POLY_LINE), 6);
         EXPECT_EQ(s.grid->GetCell(0)->GetNumberOfPoints(), 4);
         EXPECT_EQ(s.grid->GetCell(2)->GetNumberOfPoints(), 2);
         EXPECT_THAT(s.Depths(4), ElementsAre(0.0, 2.0));
         EXPECT_DOUBLE_EQ(s.gridActor->GetOrientation()[0], 30.0);
     }},
    {"WireframeWithoutSeriesIsAnEmptyScene",
     [](HostData& d) { d.request.kind = PlotKindWireframe; },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.grid->GetNumberOfPoints(), 0);
         EXPECT_EQ(s.grid->GetNumberOfCells(), 0);
     }},
    {"ScatterColoursPointsByGroupAndUnknownGroupsBlack",
     [](HostData& d) {
         d.request.kind = PlotKindScatter;
         d.groupColours = {1, 0, 0, 0, 1, 0, 0, 0, 1};
         d.request.groupColours = d.groupColours.data();
         d.request.groupCount = 3;
         d.Points({{0, 0, 0, 1}, {1, 1, 1, 7}, {0.5, 0.2, 0.1, -1}});
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         ASSERT_EQ(s.spheres.size(), 3u);
         EXPECT_THAT(s.sphereColours[0], ElementsAre(0.0, 1.0, 0.0));
         EXPECT_THAT(s.sphereColours[1], ElementsAre(0.0, 0.0, 0.0));
         EXPECT_THAT(s.sphereColours[2], ElementsAre(0.0, 0.0, 0.0));
         EXPECT_THAT(s.sphereCentres[2], ElementsAre(0.5, 0.2, 0.1));
         EXPECT_NE(s.axesTubes, nullptr);
         EXPECT_THAT(s.Texts(1, false), ElementsAre("0", "0.25", "0.5", "0.75", "1"));
     }},
    {"ScatterWithoutPointsDrawsNoAxes",
     [](HostData& d) { d.request.kind = PlotKindScatter; d.Points({}); },
     [](const PlotScene& s, vtkRenderWindow*) {
         ASSERT_NE(s.renderer, nullptr);
         EXPECT_EQ(s.axesTubes, nullptr);
         EXPECT_THAT(s.labels, IsEmpty());
     }},
    {"ScatterOfEqualCoordinatesUsesAxesOfLengthOne",
     [](HostData& d) { d.request.kind = PlotKindScatter; d.Points({{2, 2, 2, 0}, {2, 2, 2, 0}}); },
     [](const PlotScene& s, vtkRenderWindow*) {
         ASSERT_NE(s.axesTubes, nullptr);
         double bounds[6];
         s.axesTubes->GetBounds(bounds);
         EXPECT_NEAR(bounds[1], 1.0, 0.05);
         ASSERT_NE(s.Title(1), nullptr);
         EXPECT_DOUBLE_EQ(s.Title(1)->scale, 0.2 / 6.0);
         for (const SceneLabel& label : s.labels)
             for (double coordinate : label.position)
                 EXPECT_TRUE(std::isfinite(coordinate)) << label.text;
     }},
    {"ScatterWithoutAxesOrBackgroundDrawsUntitledAxesOnTheDefault",
     [](HostData& d) {
         d.request.kind = PlotKindScatter;
         d.Points({{0, 0, 0, 0}, {1, 1, 1, 0}});
         d.request.axes = nullptr;
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_NE(s.axesTubes, nullptr);
         EXPECT_THAT(s.labels, IsEmpty());
         EXPECT_THAT(std::vector<double>(s.renderer->GetBackground(), s.renderer->GetBackground() + 3),
                     ElementsAre(0.1, 0.2, 0.4));
     }},
    {"ScatterPlacesTheFirstAxisByTheExtent",
     [](HostData& d) { d.request.kind = PlotKindScatter; d.Points({{0, 0, 0, 0}, {3, 1, 2, 0}}); },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_DOUBLE_EQ(s.Title(0)->position[0], 1.5);
         EXPECT_DOUBLE_EQ(s.Title(2)->position[2], 1.5);
     }},
    {"ScatterCoordinatesThatAreNotFiniteStayOutOfTheExtentAndFraming",
     [](HostData& d) {
         d.request.kind = PlotKindScatter;
         d.Points({{0, 0, 0, 0}, {3, 1, 2, 0}, {INFINITY, 1, 1, 0}, {1, -INFINITY, NAN, 0}});
     },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.spheres.size(), 4u);
         EXPECT_DOUBLE_EQ(s.Title(0)->position[0], 1.5);
         EXPECT_TRUE(CameraIsFinite(s));
     }},
    {"ScatterWithoutFiniteCoordinatesDrawsNoAxes",
     [](HostData& d) { d.request.kind = PlotKindScatter; d.Points({{INFINITY, NAN, -INFINITY, 0}}); },
     [](const PlotScene& s, vtkRenderWindow*) {
         EXPECT_EQ(s.axesTubes, nullptr);
         EXPECT_TRUE(CameraIsFinite(s));
     }},
};

class SceneBuilder : public ::testing::TestWithParam<BuilderCase>
{
};

TEST_P(SceneBuilder, BuildsTheExpectedScene)
{
    HostData data;
    GetParam().make(data);
    vtkNew<vtkRenderWindow> window;
    window->SetOffScreenRendering(1);
    ASSERT_TRUE(BuildPlotScene(window, data.request));
    const PlotScene scene = ReadPlotScene(window);
    ASSERT_NE(scene.renderer, nullptr);
    if (data.request.kind != PlotKindScatter)
    {
        ASSERT_NE(scene.grid, nullptr);
    }
    GetParam().check(scene, window);
}

INSTANTIATE_TEST_SUITE_P(Requests, SceneBuilder, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SceneBuilderKinds, UnknownKindBuildsNothing)
{
    HostData data;
    data.request.kind = 7;
    vtkNew<vtkRenderWindow> window;
    window->SetOffScreenRendering(1);
    EXPECT_FALSE(BuildPlotScene(window, data.request));
    EXPECT_EQ(ReadPlotScene(window).renderer, nullptr);
}

TEST(SceneBuilderKinds, NonEmptyTitleNamesTheWindowAndEmptyKeepsTheDefault)
{
    for (const char* title : {"", "Pressure"})
    {
        HostData data;
        data.Series(Ramp(2, 3));
        data.request.title = title;
        vtkNew<vtkRenderWindow> window;
        window->SetOffScreenRendering(1);
        const std::string before = window->GetWindowName();
        BuildPlotScene(window, data.request);
        EXPECT_EQ(window->GetWindowName(), *title ? std::string(title) : before);
    }
}

}  // namespace
