// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the demo show files into the directory given on the command line.
#include "tools/DemoShow.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        err << "usage: lumenar-mkdemo DIRECTORY\n";
        return 2;
    }
    const QStringList written = DemoShow::writeAll(args.at(1));
    if (written.isEmpty()) {
        err << "lumenar-mkdemo: cannot write into " << args.at(1) << "\n";
        return 1;
    }
    QTextStream out(stdout);
    for (const QString& path : written)
        out << path << "\n";
    return 0;
}
