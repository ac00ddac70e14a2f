#pragma once
// The window of one plot: the render widget above a row of Print, Save As... and Ok.
// The constructor builds the whole scene from the request; the dialog does not look at the
// request again, so the host's arrays need live only while it is being made.

#include "QELSheetForm.h"

#include <QDialog>

class QHBoxLayout;
class QPrinter;
class QPushButton;
class QSpacerItem;
class QVBoxLayout;
class QVTKOpenGLNativeWidget;
class vtkRenderWindow;
struct PlotRequest;

class QELSheet : public QDialog, public Ui_QELSheet
{
    Q_OBJECT

public:
    QELSheet(const PlotRequest* request, QWidget* parent = nullptr);
    ~QELSheet() override;

    vtkRenderWindow* RenderWindow() const;

    // Writes the picture as the image format of the selected save filter; answers whether
    // the file was written.
    bool SaveImage(const QString& fileName, const QString& selectedFilter);

    // Prints the picture on one page of an already set-up printer, scaled to the printable
    // area and drawn at its top-left corner.
    bool PrintTo(QPrinter& printer);

public slots:
    void on_buttonBox_accepted();
    void on_SaveImageButton();
    void on_PrintButton();

private:
    QVTKOpenGLNativeWidget* m_qelWidget = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QVBoxLayout* m_vboxLayout = nullptr;
    QHBoxLayout* m_hboxLayout = nullptr;
    QSpacerItem* m_widgetSpacer = nullptr;
    QSpacerItem* m_buttonSpacer = nullptr;
    const PlotRequest* m_request = nullptr;
};
