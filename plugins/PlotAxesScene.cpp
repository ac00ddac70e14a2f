// The tube axes and the labels of the surface-with-axes and scatter plots.

#include "PlotSceneShared.h"

#include <vtkActor.h>
#include <vtkAxes.h>
#include <vtkFollower.h>
#include <vtkNew.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkTubeFilter.h>
#include <vtkVectorText.h>

#include <cstdio>

namespace {

vtkSmartPointer<vtkFollower> MakeLabel(const std::string& text, double size, PlotColour colour,
                                       double x, double y, double z)
{
    vtkNew<vtkVectorText> source;
    source->SetText(text.c_str());
    vtkNew<vtkPolyDataMapper> mapper;
    mapper->SetInputConnection(source->GetOutputPort());
    auto label = vtkSmartPointer<vtkFollower>::New();
    label->SetMapper(mapper);
    label->SetScale(size, size, size);
    label->GetProperty()->SetColor(colour.red, colour.green, colour.blue);
    label->SetPosition(x, y, z);
    return label;
}

}  // namespace

std::vector<std::string> TickLabelTexts(const AxisRecord& axis)
{
    std::vector<std::string> texts;
    if (axis.divisions < 1)
        return texts;
    const float low = static_cast<float>(axis.low);
    const float high = static_cast<float>(axis.high);
    for (int k = 0; k <= axis.divisions; ++k)
    {
        const float value = low + (high - low) / static_cast<float>(axis.divisions) * k;
        char text[64];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
        texts.emplace_back(text);
    }
    return texts;
}

std::vector<vtkSmartPointer<vtkProp>> MakeAxesAndLabels(const AxisRecords& axes,
                                                        const AxesPlacement& placement,
                                                        std::vector<vtkFollower*>& labels)
{
    std::vector<vtkSmartPointer<vtkProp>> props;
    const double low = placement.low;
    const double range = placement.range;
    const double s = placement.scale / 6.0;

    vtkNew<vtkAxes> axesSource;
    axesSource->SetOrigin(0.0, low, 0.0);
    axesSource->SetScaleFactor(placement.scale);
    vtkNew<vtkTubeFilter> tubes;
    tubes->SetInputConnection(axesSource->GetOutputPort());
    tubes->SetRadius(0.02 * s);
    tubes->SetNumberOfSides(14);
    vtkNew<vtkPolyDataMapper> tubeMapper;
    tubeMapper->SetInputConnection(tubes->GetOutputPort());
    auto tubeActor = vtkSmartPointer<vtkActor>::New();
    tubeActor->SetMapper(tubeMapper);
    props.push_back(tubeActor);

    const auto add = [&](vtkSmartPointer<vtkFollower> label) {
        labels.push_back(label);
        props.push_back(label);
    };

    const double titlePositions[3][3] = {
        {placement.firstTitleX, low - s, s},
        {-s, range * 0.5 + low, s},
        {-s, low - s, placement.thirdTitleZ},
    };
    for (int axis = 0; axis < 3; ++axis)
    {
        const AxisRecord& record = axes[axis];
        if (!record.drawn)
            continue;
        const double* at = titlePositions[axis];
        add(MakeLabel(record.title, 0.2 * s, kAxisColours[axis], at[0], at[1], at[2]));

        const std::vector<std::string> texts = TickLabelTexts(record);
        for (int k = 0; k < static_cast<int>(texts.size()); ++k)
        {
            const int divisions = record.divisions;
            double x = -0.2 * s;
            double y = low - 0.2 * s;
            double z = 0.2 * s;
            if (axis == 0)
                x = placement.firstTickX(placement, k, divisions);
            else if (axis == 1)
                y = range / divisions * k + low;
            else
                z = placement.thirdTickZ(placement, k, divisions);
            add(MakeLabel(texts[k], 0.1 * s, kAxisColours[axis], x, y, z));
        }
    }
    return props;
}
