#include "app/CommandLine.h"
#include "app/LumenarApp.h"
#include "app/MainWindow.h"

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMENAR_VERSION));

    // Help, version and usage errors need no display, so they are answered before the
    // window's application object exists.
    CommandLine command;
    {
        QCoreApplication plain(argc, argv);
        command = CommandLine::parse(QCoreApplication::arguments());
    }
    if (command.getAction() != CommandLine::Run) {
        std::FILE* stream = command.getExitStatus() == 0 ? stdout : stderr;
        std::fputs(command.getText().toLocal8Bit().constData(), stream);
        return command.getExitStatus();
    }

    LumenarApp app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halcyra"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumenar"));
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMENAR_APP_ID));

    MainWindow window(command.getFileName());
    if (window.isHidden())
        return 0; // closed while the command line's file was loading
    QObject::connect(&app, &LumenarApp::openFile, &window, &MainWindow::openFile);
    return app.exec();
}
