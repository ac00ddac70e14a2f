#pragma once
// Turn a plot request into a scene in a render window. The builders read the host's arrays
// only while they run, copy what they need, and hand everything they make to the window.

class vtkRenderWindow;
struct PlotRequest;

// Kinds 0 and 1: a surface through the series, with labelled axes for kind 1.
void BuildSurfaceScene(vtkRenderWindow* window, const PlotRequest& request);

// Kind 2: one polyline along each series and one across the series at each point.
void BuildWireframeScene(vtkRenderWindow* window, const PlotRequest& request);

// Kind 3: a small sphere per point in its group's colour, with labelled axes.
void BuildScatterScene(vtkRenderWindow* window, const PlotRequest& request);

// Builds the scene of the request's kind; any other kind builds nothing and answers false.
bool BuildPlotScene(vtkRenderWindow* window, const PlotRequest& request);

// Lets go of what the window's scene holds of the graphics library in one pass, before the
// props go. Left to them, every mapper takes its buffers out of the window's buffer cache
// one by one, and each removal walks the whole cache: a scatter plot of 100,000 points
// took minutes to close.
void ReleaseSceneGraphics(vtkRenderWindow* window);
