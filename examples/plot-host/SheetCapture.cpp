#include "SheetCapture.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

std::vector<QDialog*> PlotDialogs()
{
    std::vector<QDialog*> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits("QELSheet"))
            dialogs.push_back(static_cast<QDialog*>(widget));
    return dialogs;
}

std::vector<QDialog*> NewPlotDialogs(const std::vector<QDialog*>& before)
{
    std::vector<QDialog*> added;
    for (QDialog* dialog : PlotDialogs())
        if (std::find(before.begin(), before.end(), dialog) == before.end())
            added.push_back(dialog);
    return added;
}

bool WaitUntilExposed(QWidget* window, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (window->windowHandle() && window->windowHandle()->isExposed())
        {
            // One more round lets the first paint of the render widget happen.
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            return true;
        }
    }
    return false;
}

QImage PlotPicture(QDialog* dialog)
{
    auto* view = dialog->findChild<QOpenGLWidget*>(QStringLiteral("m_qelWidget"));
    return view ? view->grabFramebuffer() : QImage();
}

PictureCheck CheckPicture(const QImage& picture, QRgb background)
{
    PictureCheck check;
    if (picture.isNull())
        return check;
    const auto near = [background](QRgb pixel) {
        return std::abs(qRed(pixel) - qRed(background)) <= 2 &&
               std::abs(qGreen(pixel) - qGreen(background)) <= 2 &&
               std::abs(qBlue(pixel) - qBlue(background)) <= 2;
    };
    check.cornerIsBackground = near(picture.pixel(0, 0));
    long plotted = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            plotted += near(picture.pixel(x, y)) ? 0 : 1;
    check.plottedFraction =
        static_cast<double>(plotted) / (static_cast<double>(picture.width()) * picture.height());
    return check;
}
