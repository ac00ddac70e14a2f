// One table ties each save filter to the writer of its format.

#include "SheetImageExport.h"

#include <vtkBMPWriter.h>
#include <vtkImageWriter.h>
#include <vtkJPEGWriter.h>
#include <vtkNew.h>
#include <vtkPNGWriter.h>
#include <vtkPostScriptWriter.h>
#include <vtkRenderWindow.h>
#include <vtkSmartPointer.h>
#include <vtkTIFFWriter.h>
#include <vtkWindowToImageFilter.h>

namespace {

struct ImageFormatEntry
{
    const char* filter;
    ImageFormat format;
    vtkSmartPointer<vtkImageWriter> (*makeWriter)();
};

template <typename Writer>
vtkSmartPointer<vtkImageWriter> Make()
{
    return vtkSmartPointer<Writer>::New();
}

const ImageFormatEntry s_formats[] = {
    {"JPEG file (*.jpg)", ImageFormat::Jpeg, Make<vtkJPEGWriter>},
    {"BMP file (*.bmp)", ImageFormat::Bmp, Make<vtkBMPWriter>},
    {"TIFF file (*.tiff)", ImageFormat::Tiff, Make<vtkTIFFWriter>},
    {"PNG file (*.png)", ImageFormat::Png, Make<vtkPNGWriter>},
    {"PostScript file (*.ps)", ImageFormat::PostScript, Make<vtkPostScriptWriter>},
};

const QStringList s_filters = [] {
    QStringList filters;
    for (const ImageFormatEntry& entry : s_formats)
        filters << QString::fromUtf8(entry.filter);
    return filters;
}();

}  // namespace

const QStringList& SaveImageFilters()
{
    return s_filters;
}

ImageFormat ImageFormatOfFilter(const QString& selectedFilter)
{
    const int position = s_filters.indexOf(selectedFilter);
    return position < 0 ? ImageFormat::Jpeg : s_formats[position].format;
}

bool WriteWindowImage(vtkRenderWindow* window, ImageFormat format, const QString& fileName)
{
    vtkNew<vtkWindowToImageFilter> capture;
    capture->SetInput(window);
    // The picture is rendered into the back buffer; the front one may hold a stale frame.
    capture->ReadFrontBufferOff();
    vtkSmartPointer<vtkImageWriter> writer;
    for (const ImageFormatEntry& entry : s_formats)
        if (entry.format == format)
            writer = entry.makeWriter();
    writer->SetInputConnection(capture->GetOutputPort());
    const QByteArray name = fileName.toUtf8();
    writer->SetFileName(name.constData());
    writer->Write();
    return writer->GetErrorCode() == 0;
}
