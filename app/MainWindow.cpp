#include "app/MainWindow.h"

#include "model/IldaFrames.h"

#include <QDir>

MainWindow::MainWindow(const QString& fileName)
{
    setWindowTitle(tr("Lumenar"));
    setGeometry(50, 50, 650, 650);
    setMinimumSize(100, 100);
    m_infoWindow.setWindowTitle(tr("Information"));
    show();
    if (!fileName.isEmpty())
        openFile(fileName);
}

MainWindow::~MainWindow() = default;

void MainWindow::openFile(const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    globalIldaFrames.openFile(QDir::toNativeSeparators(fileName), m_infoWindow, this);
    update();
}
