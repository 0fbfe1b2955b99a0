// lumenar-inspect: shows what a show file holds without opening a window.
#include "tools/Inspector.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    // The information window is a widget, so a GUI application is needed, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    return Inspector::run(QCoreApplication::arguments().mid(1), out, err);
}
