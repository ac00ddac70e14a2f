#pragma once
// What a host can see of the plug-in's dialogs: find them among the top-level windows,
// wait until they are on screen, and take the picture of their render widget.

#include <QImage>

#include <vector>

class QDialog;
class QWidget;

// The plug-in's plot dialogs among the application's top-level windows.
std::vector<QDialog*> PlotDialogs();

// The plot dialogs that are not in the given list.
std::vector<QDialog*> NewPlotDialogs(const std::vector<QDialog*>& before);

// Processes events until the window is exposed on screen; false after timeoutMs.
bool WaitUntilExposed(QWidget* window, int timeoutMs = 10000);

// The picture of a dialog's render widget ("m_qelWidget"), or a null image.
QImage PlotPicture(QDialog* dialog);

// Whether a picture shows a plot: its corner pixel has the background colour and more
// than 1% of its pixels do not.
struct PictureCheck
{
    bool cornerIsBackground = false;
    double plottedFraction = 0.0;
    bool ShowsPlot() const { return cornerIsBackground && plottedFraction > 0.01; }
};
PictureCheck CheckPicture(const QImage& picture, QRgb background);
