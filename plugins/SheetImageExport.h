#pragma once
// Writing the picture of a render window to an image file, in the format the user chose
// by its save filter.

#include <QString>
#include <QStringList>

class vtkRenderWindow;

enum class ImageFormat
{
    Jpeg,
    Bmp,
    Tiff,
    Png,
    PostScript,
};

// The save dialog's filters, in the order that decides the format.
const QStringList& SaveImageFilters();

// The format of a selected filter, by its position in the list; a filter that is not in
// the list gives JPEG. The file name's extension plays no part.
ImageFormat ImageFormatOfFilter(const QString& selectedFilter);

// Renders the window and writes its picture; answers whether the writer succeeded.
bool WriteWindowImage(vtkRenderWindow* window, ImageFormat format, const QString& fileName);
