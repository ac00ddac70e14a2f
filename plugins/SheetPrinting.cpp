// The picture goes to the printer through a temporary JPEG file, which keeps the printed
// image the same as a saved JPEG.

#include "SheetPrinting.h"

#include "SheetImageExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

QRect DrawPictureOnPage(QPainter& painter, const QImage& image, const QSize& printableSize)
{
    const QImage scaled = image.scaled(printableSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QRect drawn(QPoint(0, 0), scaled.size());
    painter.drawRect(drawn);
    painter.drawImage(drawn.topLeft(), scaled);
    return drawn;
}

bool PrintWindowImage(vtkRenderWindow* window, QPrinter& printer)
{
    printer.setDocName(QCoreApplication::applicationName() + QStringLiteral(" - 3D drawing"));

    QImage picture;
    {
        // The temporary file keeps its unique name reserved until the image has been read
        // back; it is removed when this object goes.
        QTemporaryFile file(QDir::temp().filePath(QStringLiteral("qel-print-XXXXXX.jpg")));
        if (!file.open())
            return false;
        file.close();
        if (!WriteWindowImage(window, ImageFormat::Jpeg, file.fileName()))
            return false;
        if (!picture.load(file.fileName(), "JPEG"))
            return false;
    }

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    DrawPictureOnPage(painter, picture, printable.size());
    return painter.end();
}
