#include "app/LumenarApp.h"
#include "app/MainWindow.h"

int main(int argc, char** argv)
{
    LumenarApp app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halcyra"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumenar"));

    QString fileName;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 2)
        fileName = arguments.at(1);

    MainWindow window(fileName);
    window.show();
    QObject::connect(&app, &LumenarApp::openFile, &window, &MainWindow::openFile);
    return app.exec();
}
