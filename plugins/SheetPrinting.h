#pragma once
// Printing the picture of a render window on one page.

#include <QRect>

class QImage;
class QPainter;
class QPrinter;
class vtkRenderWindow;

// Scales the image to fit the printable size, keeping its aspect ratio, and draws it with a
// frame at the painter's origin, which on a printer is already the printable area's
// top-left corner. Answers the rectangle drawn.
QRect DrawPictureOnPage(QPainter& painter, const QImage& image, const QSize& printableSize);

// Captures the window through a temporary JPEG file and prints it on the printer's page;
// answers false when the picture could not be captured or the page could not be opened.
// The temporary file is removed before this returns.
bool PrintWindowImage(vtkRenderWindow* window, QPrinter& printer);
