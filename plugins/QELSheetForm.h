#pragma once
// The form of the plot dialog: its object name, size and title.

#include <QCoreApplication>
#include <QDialog>

class Ui_QELSheet
{
public:
    void setupUi(QDialog* sheet)
    {
        if (sheet->objectName().isEmpty())
            sheet->setObjectName(QString::fromUtf8("QELSheet"));
        sheet->resize(845, 630);
        retranslateUi(sheet);
    }

    void retranslateUi(QDialog* sheet)
    {
        sheet->setWindowTitle(QCoreApplication::translate("QELSheet", "3D drawing"));
    }
};
