// The plot dialog: layout, scene, and the save and print actions.

#include "QELSheet.h"

#include "PlotSceneBuilders.h"
#include "SheetImageExport.h"
#include "SheetPrinting.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QVTKOpenGLNativeWidget.h>

#include <vtkGenericOpenGLRenderWindow.h>

QELSheet::QELSheet(const PlotRequest* request, QWidget* parent)
    : QDialog(parent)
{
    setupUi(this);
    m_request = request;

    m_qelWidget = new QVTKOpenGLNativeWidget(this);
    m_qelWidget->setObjectName(QStringLiteral("m_qelWidget"));
    // The host's default surface format may not suit the render window; this one does.
    m_qelWidget->setFormat(QVTKOpenGLNativeWidget::defaultFormat());

    m_vboxLayout = new QVBoxLayout(this);
    m_vboxLayout->addWidget(m_qelWidget);
    m_widgetSpacer = new QSpacerItem(10, 10, QSizePolicy::Expanding, QSizePolicy::Minimum);
    m_vboxLayout->addItem(m_widgetSpacer);

    m_hboxLayout = new QHBoxLayout();
    m_hboxLayout->setObjectName(QStringLiteral("hboxLayout"));
    m_hboxLayout->setSpacing(6);
    m_hboxLayout->setContentsMargins(0, 0, 0, 0);
    m_buttonSpacer = new QSpacerItem(131, 31, QSizePolicy::Expanding, QSizePolicy::Minimum);
    m_hboxLayout->addItem(m_buttonSpacer);
    const auto addButton = [this](const char* name, const QString& text) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromUtf8(name));
        button->setText(text);
        m_hboxLayout->addWidget(button);
        return button;
    };
    m_printButton = addButton("printButton", QStringLiteral("Print"));
    m_saveButton = addButton("saveButton", QStringLiteral("Save As..."));
    m_okButton = addButton("okButton", QStringLiteral("Ok"));
    m_vboxLayout->addLayout(m_hboxLayout);

    if (m_request)
        BuildPlotScene(m_qelWidget->renderWindow(), *m_request);
    // The request lives on the caller's stack; nothing may reach it after construction.
    m_request = nullptr;

    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_saveButton, &QPushButton::clicked, this, &QELSheet::on_SaveImageButton);
    connect(m_printButton, &QPushButton::clicked, this, &QELSheet::on_PrintButton);
    m_okButton->setToolTip(
        QCoreApplication::translate("QELSheet", "Close this plot window.", "QEL tool tip"));
}

QELSheet::~QELSheet()
{
    // Before the render widget and its scene go with the dialog's children.
    ReleaseSceneGraphics(RenderWindow());
}

vtkRenderWindow* QELSheet::RenderWindow() const
{
    return m_qelWidget->renderWindow();
}

bool QELSheet::SaveImage(const QString& fileName, const QString& selectedFilter)
{
    return WriteWindowImage(RenderWindow(), ImageFormatOfFilter(selectedFilter), fileName);
}

bool QELSheet::PrintTo(QPrinter& printer)
{
    return PrintWindowImage(RenderWindow(), printer);
}

void QELSheet::on_buttonBox_accepted()
{
    done(QDialog::Accepted);
}

void QELSheet::on_SaveImageButton()
{
    QString selectedFilter;
    const QString fileName = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save to image file"), QDir::currentPath(),
        SaveImageFilters().join(QStringLiteral(";;")), &selectedFilter);
    if (fileName.isEmpty())
        return;
    SaveImage(fileName, selectedFilter);
}

void QELSheet::on_PrintButton()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QCoreApplication::translate("PrintSetup", "Print 3D drawing"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintTo(printer);
}
