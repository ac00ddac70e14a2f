// A host application in miniature: loads the plot plug-in by file name, shows one plot of
// each kind, saves the picture of each as PNG into the output folder, tiles the scatter
// window, and unloads the plug-in.

#include "LeakCheckSupport.h"
#include "PlotPluginLoader.h"
#include "PlotSamples.h"
#include "SheetCapture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("examples-out");
    QDir().mkpath(outDir);

    int failures = 0;
    {
        PlotPluginLoader plugin(PlotPluginLoader::DefaultPath());
        if (!plugin.IsLoaded())
        {
            std::fprintf(stderr, "cannot load the plot plug-in: %s\n", plugin.Error().c_str());
            return 1;
        }
        const PlotPluginEntries& entries = plugin.Entries();
        entries.initialize();
        std::printf("loaded %s\n", PlotPluginLoader::DefaultPath().c_str());

        for (const SamplePlot& sample : kSamplePlots)
        {
            const std::vector<QDialog*> before = PlotDialogs();
            const int result = sample.plot(entries);
            const std::vector<QDialog*> added = NewPlotDialogs(before);
            if (result != 1 || added.size() != 1 || !WaitUntilExposed(added.front()))
            {
                std::printf("%-18s plot call failed (result %d)\n", sample.name, result);
                ++failures;
                continue;
            }
            QDialog* dialog = added.front();
            const QImage picture = PlotPicture(dialog);
            const PictureCheck check = CheckPicture(picture, sample.background);
            const QString file = QDir(outDir).filePath(QString::fromUtf8(sample.name) + ".png");
            const bool saved = picture.save(file, "PNG");
            std::printf("%-18s %s dialog \"%s\", %dx%d picture, %.1f%% plotted -> %s%s\n",
                        sample.name, dialog->isModal() ? "modal" : "modeless",
                        qPrintable(dialog->windowTitle()), picture.width(), picture.height(),
                        100.0 * check.plottedFraction, qPrintable(file),
                        saved && check.ShowsPlot() ? "" : "  (NOT A PLOT)");
            if (!saved || !check.ShowsPlot())
                ++failures;
        }

        entries.tileTrackingSet();
        for (QDialog* dialog : PlotDialogs())
            if (!dialog->isModal())
                std::printf("tiled the scatter window to %dx%d at (%d, %d)\n",
                            dialog->width(), dialog->height(), dialog->x(), dialog->y());
        KeepGraphicsDriversMapped();
        entries.shutdown();
        std::printf("shut the plug-in down; %zu plot windows left\n", PlotDialogs().size());
    }
    return failures == 0 ? 0 : 1;
}
