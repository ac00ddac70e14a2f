// The plot dialog: its layout, saving the picture in each format, and printing it.

#include "PlotRequest.h"
#include "QELSheet.h"
#include "SheetCapture.h"
#include "SheetImageExport.h"
#include "SheetPrinting.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QVTKOpenGLNativeWidget.h>

#include <vtkBMPReader.h>
#include <vtkImageData.h>
#include <vtkImageReader2.h>
#include <vtkJPEGReader.h>
#include <vtkNew.h>
#include <vtkPNGReader.h>
#include <vtkRenderWindow.h>
#include <vtkRendererCollection.h>
#include <vtkSmartPointer.h>
#include <vtkTIFFReader.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using ::testing::ElementsAre;

namespace {

// A plot request over data the test keeps alive for the constructor.
struct SurfaceData
{
    SurfaceData()
    {
        for (int r = 0; r < 6; ++r)
        {
            values.emplace_back();
            for (int j = 0; j < 20; ++j)
                values.back().push_back(3.0 + 2.0 * std::sin(j / 3.0 + r));
            pointers.push_back(values.back().data());
            counts.push_back(20);
        }
        request.kind = PlotKindSurface;
        request.series = pointers.data();
        request.counts = counts.data();
        request.seriesCount = 6;
        request.scaleSeriesAxis = 1;
    }
    std::vector<std::vector<double>> values;
    std::vector<const double*> pointers;
    std::vector<unsigned> counts;
    PlotRequest request;
};

std::unique_ptr<QELSheet> ShownSheet(const PlotRequest& request)
{
    auto sheet = std::make_unique<QELSheet>(&request);
    sheet->show();
    EXPECT_TRUE(WaitUntilExposed(sheet.get()));
    return sheet;
}

// Answers the next dialog of type Dialog as a user would. The application's event filter
// sees the dialog being shown, and the answer is queued behind that, so it runs inside the
// dialog's own event loop once exec() has started it: nothing depends on how long anything
// takes. A dialog of another kind is rejected, so that the test fails instead of waiting
// for ever.
template <typename Dialog>
class DialogAnswer : public QObject
{
public:
    explicit DialogAnswer(std::function<void(Dialog*)> answer) : m_answer(std::move(answer))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool Answered() const { return m_answered; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() != QEvent::Show || !dialog || !dialog->isModal() || m_answered)
            return false;
        if (auto* expected = qobject_cast<Dialog*>(dialog))
        {
            m_answered = true;
            QMetaObject::invokeMethod(
                expected, [this, expected] { m_answer(expected); }, Qt::QueuedConnection);
        }
        else
        {
            ADD_FAILURE() << "an unexpected dialog opened: "
                          << dialog->metaObject()->className();
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void(Dialog*)> m_answer;
    bool m_answered = false;
};

// Types a name into a file dialog's file-name box. Unlike selectFile, which leaves the box
// alone while it has the keyboard focus, this always takes.
void TypeFileName(QFileDialog* dialog, const QString& name)
{
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(box, nullptr);
    box->setText(name);
}

QByteArray Head(const QString& file, int bytes)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.read(bytes) : QByteArray();
}

vtkSmartPointer<vtkImageData> Decode(vtkImageReader2* reader, const QString& file)
{
    const QByteArray name = file.toUtf8();
    reader->SetFileName(name.constData());
    reader->Update();
    return reader->GetOutput();
}

// Mean absolute difference of two decoded pictures of equal size, or -1 when they differ
// in size or layout. flipB reads b's rows in the opposite order: VTK's TIFF reader hands
// them out top row first, its other readers bottom row first.
double MeanDifference(vtkImageData* a, vtkImageData* b, bool flipB = false)
{
    int da[3];
    int db[3];
    a->GetDimensions(da);
    b->GetDimensions(db);
    if (da[0] != db[0] || da[1] != db[1] ||
        a->GetNumberOfScalarComponents() != b->GetNumberOfScalarComponents())
        return -1.0;
    const auto* pa = static_cast<const unsigned char*>(a->GetScalarPointer());
    const auto* pb = static_cast<const unsigned char*>(b->GetScalarPointer());
    const long row = static_cast<long>(da[0]) * a->GetNumberOfScalarComponents();
    double sum = 0.0;
    for (int y = 0; y < da[1]; ++y)
    {
        const unsigned char* ra = pa + y * row;
        const unsigned char* rb = pb + (flipB ? da[1] - 1 - y : y) * row;
        for (long i = 0; i < row; ++i)
            sum += std::abs(ra[i] - rb[i]);
    }
    return sum / (row * da[1]);
}

// The deflated content stream of a PDF page that draws an image ("/ImN Do").
QByteArray ImagePageContent(const QByteArray& pdf)
{
    int at = 0;
    while ((at = pdf.indexOf(">>\nstream\n", at)) >= 0)
    {
        const int begin = at + 10;
        const int end = pdf.indexOf("endstream", begin);
        if (end < 0)
            break;
        // Image data is not deflated; only the page contents are of interest.
        if (pdf.lastIndexOf("<<", at) > pdf.lastIndexOf("/Subtype /Image", at))
        {
            // qUncompress wants the inflated size up front; it grows a buffer that is too small.
            const QByteArray packed = QByteArray("\x00\x10\x00\x00", 4) + pdf.mid(begin, end - begin);
            const QByteArray content = qUncompress(packed);
            if (QRegularExpression("/Im\\d+\\s+Do").match(content).hasMatch())
                return content;
        }
        at = end + 9;
    }
    return {};
}

TEST(PlotSheetLayout, HasTheNamedWidgetsButtonsAndLayouts)
{
    SurfaceData data;
    QELSheet sheet(&data.request);
    EXPECT_EQ(sheet.objectName(), "QELSheet");
    EXPECT_EQ(sheet.windowTitle(), "3D drawing");
    EXPECT_EQ(sheet.size(), QSize(845, 630));
    EXPECT_EQ(sheet.parent(), nullptr);

    auto* view = sheet.findChild<QVTKOpenGLNativeWidget*>("m_qelWidget");
    ASSERT_NE(view, nullptr);
    const std::pair<const char*, const char*> buttons[] = {
        {"printButton", "Print"}, {"saveButton", "Save As..."}, {"okButton", "Ok"}};
    auto* row = sheet.findChild<QHBoxLayout*>("hboxLayout");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->spacing(), 6);
    EXPECT_EQ(row->contentsMargins(), QMargins(0, 0, 0, 0));
    ASSERT_EQ(row->count(), 4);
    EXPECT_NE(row->itemAt(0)->spacerItem(), nullptr);
    for (int i = 0; i < 3; ++i)
    {
        auto* button = qobject_cast<QPushButton*>(row->itemAt(i + 1)->widget());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->objectName(), buttons[i].first);
        EXPECT_EQ(button->text(), buttons[i].second);
        EXPECT_EQ(button->parent(), &sheet);
    }
    auto* column = qobject_cast<QVBoxLayout*>(sheet.layout());
    ASSERT_NE(column, nullptr);
    ASSERT_EQ(column->count(), 3);
    EXPECT_EQ(column->itemAt(0)->widget(), view);
    EXPECT_NE(column->itemAt(1)->spacerItem(), nullptr);
    EXPECT_EQ(column->itemAt(2)->layout(), row);
    EXPECT_NE(view->renderWindow()->GetRenderers()->GetFirstRenderer(), nullptr);
}

TEST(PlotSheetLayout, HasTheThreeSlotsInOrder)
{
    const QMetaObject& meta = QELSheet::staticMetaObject;
    EXPECT_STREQ(meta.className(), "QELSheet");
    std::vector<QByteArray> slotNames;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        if (meta.method(i).methodType() == QMetaMethod::Slot)
            slotNames.push_back(meta.method(i).methodSignature());
    EXPECT_THAT(slotNames, ElementsAre("on_buttonBox_accepted()", "on_SaveImageButton()",
                                   "on_PrintButton()"));
}

TEST(PlotSheetLayout, OkClosesWithAccepted)
{
    SurfaceData data;
    auto sheet = ShownSheet(data.request);
    sheet->findChild<QPushButton*>("okButton")->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
}

TEST(PlotSheetLayout, UnknownKindGivesButtonsAndAnEmptyRenderArea)
{
    PlotRequest request;
    request.kind = 7;
    auto sheet = ShownSheet(request);
    EXPECT_NE(sheet->findChild<QPushButton*>("saveButton"), nullptr);
    EXPECT_EQ(sheet->RenderWindow()->GetRenderers()->GetFirstRenderer(), nullptr);
}

TEST(PlotSheetSave, FilterPositionChoosesTheFormat)
{
    EXPECT_THAT(SaveImageFilters(),
                ElementsAre("JPEG file (*.jpg)", "BMP file (*.bmp)", "TIFF file (*.tiff)",
                            "PNG file (*.png)", "PostScript file (*.ps)"));
    const std::pair<const char*, ImageFormat> cases[] = {
        {"JPEG file (*.jpg)", ImageFormat::Jpeg},
        {"BMP file (*.bmp)", ImageFormat::Bmp},
        {"TIFF file (*.tiff)", ImageFormat::Tiff},
        {"PNG file (*.png)", ImageFormat::Png},
        {"PostScript file (*.ps)", ImageFormat::PostScript},
        {"", ImageFormat::Jpeg},
        {"GIF file (*.gif)", ImageFormat::Jpeg},
    };
    for (const auto& [filter, format] : cases)
        EXPECT_EQ(ImageFormatOfFilter(filter), format) << filter;
}

TEST(PlotSheetSave, WritesAllFiveFormatsOfOneScene)
{
    SurfaceData data;
    auto sheet = ShownSheet(data.request);
    QTemporaryDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(name); };
    for (const QString& filter : SaveImageFilters())
    {
        // The extension plays no part: every file is named ".img".
        const QString file = path(qPrintable(filter.left(4).trimmed() + ".img"));
        ASSERT_TRUE(sheet->SaveImage(file, filter)) << qPrintable(filter);
    }
    EXPECT_EQ(Head(path("JPEG.img"), 3), QByteArray("\xff\xd8\xff"));
    EXPECT_EQ(Head(path("BMP.img"), 2), QByteArray("BM"));
    EXPECT_THAT(Head(path("TIFF.img"), 4), ::testing::AnyOf(QByteArray("II*\0", 4), QByteArray("MM\0*", 4)));
    EXPECT_EQ(Head(path("PNG.img"), 8), QByteArray("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(Head(path("Post.img"), 4), QByteArray("%!PS"));

    vtkNew<vtkPNGReader> pngReader;
    vtkNew<vtkBMPReader> bmpReader;
    vtkNew<vtkTIFFReader> tiffReader;
    vtkNew<vtkJPEGReader> jpegReader;
    const auto png = Decode(pngReader, path("PNG.img"));
    const auto bmp = Decode(bmpReader, path("BMP.img"));
    const auto tiff = Decode(tiffReader, path("TIFF.img"));
    const auto jpeg = Decode(jpegReader, path("JPEG.img"));
    int size[3];
    png->GetDimensions(size);
    EXPECT_GT(size[0], 100);
    EXPECT_GT(size[1], 100);
    EXPECT_EQ(MeanDifference(png, bmp), 0.0);
    EXPECT_EQ(MeanDifference(png, tiff, true), 0.0);
    const double jpegDifference = MeanDifference(png, jpeg);
    EXPECT_GE(jpegDifference, 0.0);
    EXPECT_LT(jpegDifference, 4.0);

    // The saved picture is the plot: background corner, surface in the middle.
    const QImage picture(path("PNG.img"), "PNG");
    const PictureCheck check = CheckPicture(picture, qRgb(26, 51, 102));
    EXPECT_TRUE(check.ShowsPlot()) << check.plottedFraction;
}

TEST(PlotSheetSave, SaveDialogStartsHereOnJpegAndItsFilterChoosesTheFormat)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    SurfaceData data;
    auto sheet = ShownSheet(data.request);
    QTemporaryDir dir;
    const QString file = dir.filePath("picture.jpg");
    QString startDirectory;
    QString startFilter;
    QString caption;
    QString chosen;
    DialogAnswer<QFileDialog> answer([&](QFileDialog* dialog) {
        startDirectory = dialog->directory().absolutePath();
        startFilter = dialog->selectedNameFilter();
        caption = dialog->windowTitle();
        QObject::connect(dialog, &QFileDialog::fileSelected, [&](const QString& f) { chosen = f; });
        // The filter first: choosing it rewrites the extension of a name already typed.
        dialog->selectNameFilter("PNG file (*.png)");
        TypeFileName(dialog, file);
        static_cast<QDialog*>(dialog)->accept();
    });
    sheet->findChild<QPushButton*>("saveButton")->click();

    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(chosen, file);
    EXPECT_EQ(caption, "Save to image file");
    EXPECT_EQ(startDirectory, QDir::currentPath());
    EXPECT_EQ(startFilter, "JPEG file (*.jpg)");
    EXPECT_EQ(Head(file, 8), QByteArray("\x89PNG\r\n\x1a\n"));
}

TEST(PlotSheetSave, CancellingTheSaveDialogWritesNothing)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    SurfaceData data;
    auto sheet = ShownSheet(data.request);
    QTemporaryDir dir;
    bool rejected = false;
    DialogAnswer<QFileDialog> answer([&](QFileDialog* dialog) {
        QObject::connect(dialog, &QDialog::rejected, [&] { rejected = true; });
        dialog->setDirectory(dir.path());
        TypeFileName(dialog, dir.filePath("never.png"));
        dialog->reject();
    });
    sheet->findChild<QPushButton*>("saveButton")->click();
    EXPECT_TRUE(rejected);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(PlotSheetPrint, PictureAndFrameStartAtThePaintersOrigin)
{
    // A page whose printable area is 1000 by 800, a picture of 4 by 3.
    QImage page(1000, 800, QImage::Format_RGB32);
    page.fill(Qt::white);
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QPainter painter(&page);
    const QRect drawn = DrawPictureOnPage(painter, picture, page.size());
    painter.end();
    EXPECT_EQ(drawn, QRect(0, 0, 1000, 750));
    // The picture covers the frame's top and left edges; its bottom edge shows below.
    EXPECT_EQ(page.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(500, 750), QColor(Qt::black));
    EXPECT_EQ(page.pixelColor(999, 749), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(500, 790), QColor(Qt::white));
}

TEST(PlotSheetPrint, PrintsOnePageToPdfAndRemovesItsTemporaryJpeg)
{
    SurfaceData data;
    auto sheet = ShownSheet(data.request);
    QTemporaryDir outDir;
    QTemporaryDir tempDir;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tempDir.path().toUtf8());

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(outDir.filePath("plot.pdf"));
    const bool printed = sheet->PrintTo(printer);
    qputenv("TMPDIR", oldTemp);

    ASSERT_TRUE(printed);
    EXPECT_TRUE(QDir(tempDir.path()).isEmpty());
    QFile pdf(outDir.filePath("plot.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray text = pdf.readAll();
    EXPECT_TRUE(text.startsWith("%PDF"));
    EXPECT_EQ(text.count("/Type /Page\n") + text.count("/Type /Page "), 1) << "one page";
    EXPECT_TRUE(text.contains("/Subtype /Image")) << "the picture is on the page";

    // In page pixels, the image is drawn from the printable area's top-left corner (the
    // painter's origin) and spans the printable width.
    const QByteArray content = ImagePageContent(text);
    const QRegularExpressionMatch placed =
        QRegularExpression("1 0 0 1 (\\S+) (\\S+) cm\\s+(\\S+) 0 0 (\\S+) (\\S+) (\\S+) cm\\s*/Im\\d+\\s+Do")
            .match(content);
    ASSERT_TRUE(placed.hasMatch()) << content.constData();
    const auto number = [&placed](int i) { return placed.captured(i).toDouble(); };
    const double left = number(1) + number(5);
    const double top = number(2) + number(6) + number(4);
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    EXPECT_NEAR(left, 0.0, 1.0);
    EXPECT_NEAR(top, 0.0, 1.0);
    EXPECT_NEAR(number(3), printable.width(), 1.0);
    EXPECT_GT(number(3), 1000.0);
    EXPECT_EQ(printer.docName(), QCoreApplication::applicationName() + " - 3D drawing");
}

TEST(PlotSheetPrint, CancellingThePrintDialogPrintsNothing)
{
    SurfaceData data;
    auto sheet = ShownSheet(data.request);
    QString title;
    DialogAnswer<QPrintDialog> answer([&](QPrintDialog* dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    sheet->findChild<QPushButton*>("printButton")->click();
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(title, "Print 3D drawing");
}

}  // namespace
