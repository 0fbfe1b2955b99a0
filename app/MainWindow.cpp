#include "app/MainWindow.h"

#include "model/IldaFrames.h"
#include "views/IldaViewFront.h"
#include "views/IldaViewPerspective.h"
#include "views/IldaViewSide.h"
#include "views/IldaViewTop.h"

#include <QDir>
#include <QGridLayout>

MainWindow::MainWindow(const QString& fileName)
{
    setWindowTitle(tr("Lumenar"));
    setGeometry(50, 50, 650, 650);
    setMinimumSize(100, 100);
    m_infoWindow.setWindowTitle(tr("Information"));

    // All four views: Top and Perspective above, Front and Side below.
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    grid->addWidget(new IldaViewTop, 0, 0);
    grid->addWidget(new IldaViewPerspective, 0, 1);
    grid->addWidget(new IldaViewFront, 1, 0);
    grid->addWidget(new IldaViewSide, 1, 1);
    auto* central = new QWidget;
    central->setLayout(grid);
    setCentralWidget(central);

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
    IldaView::Reset(true);
    update();
}
