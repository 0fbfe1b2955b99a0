#include "app/CommandLine.h"
#include "app/LumenarApp.h"
#include "app/MainWindow.h"

#include <QIcon>

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
    // Every window carries the icon: the installed theme's, else the one built in.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LUMENAR_APP_ID),
                                                 QIcon(QStringLiteral(":/res/Lumenar.png"))));

    MainWindow window(command.getFileName());
    window.show();
    QObject::connect(&app, &LumenarApp::openFile, &window, &MainWindow::openFile);
    return app.exec();
}
