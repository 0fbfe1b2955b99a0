// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/LumenarApp.h"
#include "app/MainWindow.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    // The user's language: Qt's own texts, then Lumenar's, installed beside the program's data
    // (share/lumenar/translations) or, in a build tree, beside the program.
    QTranslator qt;
    QTranslator lumenar;
    if (qt.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& folder : {dir + "/../share/lumenar/translations", dir + "/translations"}) {
        if (lumenar.load(QLocale(), QStringLiteral("lumenar"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(&lumenar);
            break;
        }
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Halcyra"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumenar"));
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMENAR_APP_ID));
    // Every window carries the icon: the installed theme's, else the one built in.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LUMENAR_APP_ID),
                                                 QIcon(QStringLiteral(":/res/Lumenar.png"))));

    MainWindow window(command.getFileName());
    if (window.isHidden())
        return 0; // closed while the command line's file was loading
    QObject::connect(&app, &LumenarApp::openFile, &window,
                     [&window](const QString& fileName) { window.openFile(fileName); });
    return app.exec();
}
