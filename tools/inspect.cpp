// SPDX-License-Identifier: GPL-3.0-or-later
// lumenar-inspect: shows what a show file holds without opening a window.
#include "tools/Inspector.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Standard error carries the tool's own messages and the readers' debug lines, not the chatter
// of Qt's platform plugin about a display that the tool never uses.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool qtInternal = (context.category && qstrncmp(context.category, "qt.", 3) == 0) ||
                            message.startsWith(QLatin1String("This plugin does not support")) ||
                            message.startsWith(QLatin1String("QStandardPaths: "));
    if (qtInternal && type != QtFatalMsg)
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(messageHandler);
    // The information window is a widget, so a GUI application is needed, but never a display:
    // whatever platform the desktop session names (wayland, xcb) may be out of reach, as in a
    // file manager's thumbnail sandbox.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A thumbnailer writes nothing but its picture, and needs no fonts: it draws no text. Yet
    // without a runtime folder Qt makes /tmp/runtime-USER and leaves it behind, and widgets load
    // fonts all the same, where in a sandbox fontconfig finds no configuration and no cache and
    // complains. A private folder that goes away with the program holds both instead, the
    // fonts as an empty configuration that loads none.
    QTemporaryDir scratch;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && scratch.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(scratch.path()));
    QFile fonts(scratch.filePath(QStringLiteral("fonts.conf")));
    if (std::find(argv, argv + argc, std::string("--thumbnail")) != argv + argc &&
        scratch.isValid() && fonts.open(QIODevice::WriteOnly) &&
        fonts.write("<?xml version=\"1.0\"?>\n<fontconfig/>\n") > 0 && fonts.flush())
        qputenv("FONTCONFIG_FILE", QFile::encodeName(fonts.fileName()));
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    return Inspector::run(QCoreApplication::arguments().mid(1), out, err);
}
