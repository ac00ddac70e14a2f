#pragma once
// Reads back what a scene builder handed to a render window, in the terms of the plot:
// the data grid, the spheres, the axes tubes and the labels of each axis.

#include <vtkSmartPointer.h>

#include <array>
#include <string>
#include <vector>

class vtkActor;
class vtkFollower;
class vtkRenderWindow;
class vtkRenderer;
class vtkDataSet;

struct SceneLabel
{
    std::string text;
    int axis = -1;        // 0, 1, 2 by the label's colour
    double scale = 0.0;   // titles are twice the size of tick labels
    std::array<double, 3> position{};
    bool facesCamera = false;
};

struct PlotScene
{
    vtkRenderer* renderer = nullptr;     // null when the builder added none
    vtkDataSet* grid = nullptr;          // the surface or wireframe data
    vtkActor* gridActor = nullptr;
    std::vector<vtkActor*> spheres;
    std::vector<std::array<double, 3>> sphereColours;
    std::vector<std::array<double, 3>> sphereCentres;
    vtkActor* axesTubes = nullptr;
    std::vector<SceneLabel> labels;

    // The texts of one axis's title (isTitle) or tick labels, in the order they were added.
    std::vector<std::string> Texts(int axis, bool isTitle) const;
    const SceneLabel* Title(int axis) const;
    // The depths (z) of point j of each series of the grid.
    std::vector<double> Depths(int pointsPerSeries) const;
    // Number of grid cells of one VTK cell type.
    int CellCount(int cellType) const;
};

PlotScene ReadPlotScene(vtkRenderWindow* window);
