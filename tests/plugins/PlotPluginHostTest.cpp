// The plug-in as a host sees it: loaded with dlopen, driven through its ten C entry points.

#include "ElfExports.h"
#include "PlotPluginLoader.h"
#include "PlotSamples.h"
#include "PlotSceneReader.h"
#include "SheetCapture.h"

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QVTKOpenGLNativeWidget.h>

#include <vtkUnstructuredGrid.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using ::testing::UnorderedElementsAreArray;

namespace {

class PlotPluginHost : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_plugin.IsLoaded()) << m_plugin.Error(); }

    void TearDown() override
    {
        if (m_plugin.IsLoaded())
        {
            EXPECT_EQ(Entries().shutdown(), 1);
        }
    }

    const PlotPluginEntries& Entries() const { return m_plugin.Entries(); }

    // Calls a sample plot and answers the one dialog it made.
    QDialog* Plot(const SamplePlot& sample)
    {
        const std::vector<QDialog*> before = PlotDialogs();
        EXPECT_EQ(sample.plot(Entries()), 1) << sample.name;
        const std::vector<QDialog*> added = NewPlotDialogs(before);
        EXPECT_EQ(added.size(), 1u) << sample.name;
        return added.empty() ? nullptr : added.front();
    }

    // A scatter dialog of one point: tiling needs many, and their content does not matter.
    QDialog* PlotScatter()
    {
        const std::vector<QDialog*> before = PlotDialogs();
        const ScatterPoint point{0.5, 0.5, 0.5, 0};
        const double colour[3] = {1.0, 1.0, 0.0};
        const PlotAxes axes{"x", 0, 1, 2, "y", 0, 1, 2, "z", 0, 1, 2};
        const QColor background(Qt::black);
        EXPECT_EQ(Entries().plotScatter(colour, 1, &point, 1, &axes, 0, "", &background), 1);
        const std::vector<QDialog*> added = NewPlotDialogs(before);
        EXPECT_EQ(added.size(), 1u);
        return added.empty() ? nullptr : added.front();
    }

    PlotPluginLoader m_plugin{PlotPluginLoader::DefaultPath()};
};

PlotScene SceneOf(QDialog* dialog)
{
    return ReadPlotScene(dialog->findChild<QVTKOpenGLNativeWidget*>("m_qelWidget")->renderWindow());
}

// Host callbacks the plug-in stores and must never call.
int s_callbackCalls = 0;
void NeverCalled()
{
    ++s_callbackCalls;
}

TEST(PlotPluginExports, ExportsExactlyTheTenEntryPoints)
{
    const std::vector<std::string> expected(std::begin(kPlotPluginEntryNames),
                                            std::end(kPlotPluginEntryNames));
    EXPECT_THAT(ElfExportedNames(PlotPluginLoader::DefaultPath()),
                UnorderedElementsAreArray(expected));
}

TEST_F(PlotPluginHost, EveryEntryPointAnswersOne)
{
    for (const char* name : kPlotPluginEntryNames)
        EXPECT_NE(m_plugin.Find(name), nullptr) << name;
    EXPECT_EQ(Entries().initialize(), 1);
    EXPECT_EQ(Entries().registerCallbacks(reinterpret_cast<void*>(&NeverCalled),
                                          reinterpret_cast<void*>(&NeverCalled)),
              1);
    EXPECT_EQ(Entries().idle(), 1);
    EXPECT_EQ(Entries().startTrackingSet(), 1);
    EXPECT_EQ(Entries().tileTrackingSet(), 1);
    for (const SamplePlot& sample : kSamplePlots)
        Plot(sample);
    EXPECT_EQ(Entries().tileTrackingSet(), 1);
    EXPECT_EQ(s_callbackCalls, 0);
}

TEST_F(PlotPluginHost, DialogsAreParentlessAndModalExceptScatter)
{
    for (const SamplePlot& sample : kSamplePlots)
    {
        QDialog* dialog = Plot(sample);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->isModal(), sample.modal) << sample.name;
        EXPECT_EQ(dialog->parent(), nullptr) << sample.name;
        EXPECT_TRUE(dialog->isVisible()) << sample.name;
    }
}

TEST_F(PlotPluginHost, PicturesShowThePlotsAfterTheHostFreedItsData)
{
    for (const SamplePlot& sample : kSamplePlots)
    {
        QDialog* dialog = Plot(sample);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(WaitUntilExposed(dialog));
        const QImage picture = PlotPicture(dialog);
        const PictureCheck check = CheckPicture(picture, sample.background);
        EXPECT_TRUE(check.cornerIsBackground) << sample.name;
        EXPECT_GT(check.plottedFraction, 0.01) << sample.name;
    }
}

TEST_F(PlotPluginHost, ScenesHoldTheHostsValuesAfterItScribbledOverThem)
{
    const auto waves = WaveSeries(kSampleSeriesCount, kSamplePointsPerSeries);
    for (const SamplePlot& sample : kSamplePlots)
    {
        QDialog* dialog = Plot(sample);
        ASSERT_NE(dialog, nullptr);
        const PlotScene scene = SceneOf(dialog);
        for (const SceneLabel& label : scene.labels)
            EXPECT_NE(label.text, "scribbled") << sample.name;
        if (sample.modal)
        {
            ASSERT_NE(scene.grid, nullptr);
            ASSERT_EQ(scene.grid->GetNumberOfPoints(), kSampleSeriesCount * kSamplePointsPerSeries);
            for (int r = 0; r < kSampleSeriesCount; ++r)
                for (int j = 0; j < kSamplePointsPerSeries; ++j)
                    // The scene keeps its points in single precision.
                    ASSERT_FLOAT_EQ(scene.grid->GetPoint(r * kSamplePointsPerSeries + j)[1], waves[r][j])
                        << sample.name << " series " << r << " value " << j;
        }
        else
        {
            const auto points = ClusterPoints(kSampleScatterPointsPerGroup);
            ASSERT_EQ(scene.sphereCentres.size(), points.size());
            for (std::size_t i = 0; i < points.size(); ++i)
            {
                EXPECT_EQ(scene.sphereCentres[i][0], points[i].x);
                EXPECT_FALSE(std::isnan(scene.sphereColours[i][0]));
            }
        }
    }
}

TEST_F(PlotPluginHost, ScaleFlagCountsOnlyItsLow16Bits)
{
    const std::vector<std::vector<double>> series = WaveSeries(3, 10);
    const double* pointers[3] = {series[0].data(), series[1].data(), series[2].data()};
    const unsigned counts[3] = {10, 10, 10};
    const std::pair<int, double> cases[] = {{1, 5.0}, {0x10000, 1.0}, {0x10001, 5.0}};
    for (const auto& [flag, secondDepth] : cases)
    {
        const std::vector<QDialog*> before = PlotDialogs();
        ASSERT_EQ(Entries().plotSurface(pointers, counts, 3, 0, "", flag, nullptr, nullptr), 1);
        const std::vector<QDialog*> added = NewPlotDialogs(before);
        ASSERT_EQ(added.size(), 1u);
        EXPECT_EQ(SceneOf(added.front()).Depths(10)[1], secondDepth) << std::hex << flag;
    }
}

struct TilingCase
{
    int dialogs;
    std::vector<QRect> tiles;
};

TEST_F(PlotPluginHost, TilesTheTrackedScatterDialogsOverTheScreen)
{
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1920, 1080));
    const TilingCase cases[] = {
        {0, {}},
        {1, {QRect(20, 30, 1878, 1018)}},
        {2, {QRect(20, 30, 938, 508), QRect(958, 30, 938, 508)}},
        {4,
         {QRect(20, 30, 938, 508), QRect(958, 30, 938, 508), QRect(20, 538, 938, 508),
          QRect(958, 538, 938, 508)}},
        {5,
         {QRect(20, 30, 624, 338), QRect(644, 30, 624, 338), QRect(1268, 30, 624, 338),
          QRect(20, 368, 624, 338), QRect(644, 368, 624, 338)}},
    };
    for (const TilingCase& c : cases)
    {
        EXPECT_EQ(Entries().startTrackingSet(), 1);
        std::vector<QDialog*> dialogs;
        for (int i = 0; i < c.dialogs; ++i)
            dialogs.push_back(PlotScatter());
        EXPECT_EQ(Entries().tileTrackingSet(), 1);
        std::vector<QRect> tiles;
        for (QDialog* dialog : dialogs)
            tiles.push_back(dialog->geometry());
        EXPECT_EQ(tiles, c.tiles) << c.dialogs << " dialogs";
    }
}

TEST_F(PlotPluginHost, TilingLeavesUntrackedDialogsAndKeepsClosedOnesHidden)
{
    QDialog* surface = Plot(kSamplePlots[0]);
    QDialog* earlier = PlotScatter();
    ASSERT_NE(surface, nullptr);
    ASSERT_NE(earlier, nullptr);
    const QRect surfacePlace = surface->geometry();
    const QRect earlierPlace = earlier->geometry();

    EXPECT_EQ(Entries().startTrackingSet(), 1);
    EXPECT_TRUE(earlier->isVisible());
    QDialog* closed = PlotScatter();
    QDialog* open = PlotScatter();
    ASSERT_NE(closed, nullptr);
    ASSERT_NE(open, nullptr);
    closed->close();
    EXPECT_EQ(Entries().tileTrackingSet(), 1);

    EXPECT_EQ(surface->geometry(), surfacePlace);
    EXPECT_EQ(earlier->geometry(), earlierPlace);
    EXPECT_TRUE(earlier->isVisible());
    EXPECT_EQ(closed->geometry(), QRect(20, 30, 938, 508));
    EXPECT_FALSE(closed->isVisible());
    EXPECT_EQ(open->geometry(), QRect(958, 30, 938, 508));
}

TEST_F(PlotPluginHost, ShutdownDeletesEveryDialogAndClosingDeletesModalOnes)
{
    QPointer<QDialog> surface = Plot(kSamplePlots[0]);
    QPointer<QDialog> wireframe = Plot(kSamplePlots[2]);
    QPointer<QDialog> scatter = PlotScatter();
    ASSERT_TRUE(surface && wireframe && scatter);

    wireframe->close();
    scatter->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(wireframe.isNull());
    EXPECT_FALSE(scatter.isNull()) << "closed scatter dialogs stay tracked";

    EXPECT_EQ(Entries().shutdown(), 1);
    EXPECT_TRUE(surface.isNull());
    EXPECT_TRUE(scatter.isNull());
    EXPECT_TRUE(PlotDialogs().empty());
}

TEST(PlotHostExample, SavesOnePictureOfEachKind)
{
    QTemporaryDir out;
    QProcess host;
    host.setProcessChannelMode(QProcess::ForwardedChannels);
    host.start(QStringLiteral(QEL_PLOT_HOST_PROGRAM), {out.path()});
    ASSERT_TRUE(host.waitForFinished(300000));
    EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(host.exitCode(), 0);
    for (const SamplePlot& sample : kSamplePlots)
    {
        const QImage picture(QDir(out.path()).filePath(QString::fromUtf8(sample.name) + ".png"));
        EXPECT_TRUE(CheckPicture(picture, sample.background).ShowsPlot()) << sample.name;
    }
}

}  // namespace
