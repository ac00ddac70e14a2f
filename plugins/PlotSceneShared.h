#pragma once
// What the three scene builders share: colours, copies of the host's data, the axes with
// their labels, and the last steps that hand a renderer to the window.

#include <vtkSmartPointer.h>

#include <array>
#include <string>
#include <vector>

class QColor;
class vtkFollower;
class vtkProp;
class vtkRenderWindow;
class vtkRenderer;
struct PlotAxes;
struct PlotRequest;

struct PlotColour
{
    double red;
    double green;
    double blue;
};

constexpr PlotColour kDefaultSurfaceColour{1.0, 0.3882, 0.2784};
constexpr PlotColour kDefaultBackground{0.1, 0.2, 0.4};
constexpr PlotColour kAxisColours[3] = {{1.0, 0.54, 0.52}, {1.0, 1.0, 0.56}, {0.71, 1.0, 0.6}};

// The request's colour scaled to 0..1, or the fallback when the request gives none.
PlotColour ColourOr(const QColor* colour, PlotColour fallback);

// The series copied out of the host's arrays; only the first pointsPerSeries values of
// each series are plotted (0 when there is no series).
struct SeriesCopy
{
    std::vector<std::vector<double>> values;
    int pointsPerSeries = 0;
};
SeriesCopy CopySeries(const PlotRequest& request);

// A host's value as the scene holds it. Infinities become NaN, which the toolkit leaves out
// of the bounds it frames the camera by: a value that is not finite is a gap in the plot,
// where an infinity would push the whole plot out of sight.
double PlottedValue(double value);

// The smallest and largest finite value seen; empty until the first one.
struct FiniteExtent
{
    double smallest = 0.0;
    double largest = 0.0;
    bool any = false;
    void Add(double value);
};

// One axis as the builders draw it.
struct AxisRecord
{
    std::string title;
    double low = 0.0;   // value printed at the first tick
    double high = 0.0;  // value printed at the last tick
    int divisions = 4;
    bool drawn = false;
};
using AxisRecords = std::array<AxisRecord, 3>;

// All three records drawn from the host's description; none drawn without one.
AxisRecords AxisRecordsFrom(const PlotAxes* axes);

// The texts of an axis's tick labels: divisions + 1 values from low to high, computed in
// single precision and printed with %g; none when divisions is below 1.
std::vector<std::string> TickLabelTexts(const AxisRecord& axis);

// Where the axes and labels go. The second axis is placed the same way by every builder;
// the first and third differ between the surface and the scatter plot.
struct AxesPlacement
{
    double low = 0.0;    // smallest value of the extent: the axes' origin height
    double range = 0.0;  // largest minus smallest value
    double scale = 1.0;  // length of the axes; labels are sized by scale / 6
    double firstTitleX = 0.0;
    double thirdTitleZ = 0.0;
    // Position of tick k of divisions along the first and the third axis.
    double (*firstTickX)(const AxesPlacement&, int k, int divisions) = nullptr;
    double (*thirdTickZ)(const AxesPlacement&, int k, int divisions) = nullptr;
    // Spare numbers the tick functions may use (the surface's point and series counts).
    int firstSpan = 0;
    unsigned thirdSpan = 0;
};

// The tube axes, then a title and the tick labels for each drawn axis. The labels are
// returned so that they can be turned towards the camera once the scene is framed.
std::vector<vtkSmartPointer<vtkProp>> MakeAxesAndLabels(const AxisRecords& axes,
                                                        const AxesPlacement& placement,
                                                        std::vector<vtkFollower*>& labels);

// Hands the props to a new renderer of the window, frames them, turns the labels to the
// camera, renders once and names the window after a non-empty title. A non-zero elevation
// (degrees) raises the camera above the props before framing them.
void FinishScene(vtkRenderWindow* window, const std::vector<vtkSmartPointer<vtkProp>>& props,
                 const std::vector<vtkFollower*>& labels, PlotColour background, const char* title,
                 double elevation = 0.0);
