// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "tools/Inspector.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace Inspector {

int runReadable(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("readable"), QString()},
                       {QStringLiteral("json"), QString()},
                       {QStringLiteral("no-points"), QString()}});
    QString why = parseArguments(parser, args);
    if (why.isEmpty() && parser.positionalArguments().isEmpty())
        why = QStringLiteral("--readable needs at least one FILE");
    if (!why.isEmpty()) {
        err << "lumenar-inspect: " << why << " (--help lists the modes)\n";
        return UsageError;
    }
    const bool json = parser.isSet(QStringLiteral("json"));
    const bool points = !parser.isSet(QStringLiteral("no-points"));

    InfoWindow info;
    int status = Success;
    for (const QString& file : parser.positionalArguments()) {
        const IldaFrames::Readable readable = globalIldaFrames.loadReadable(file, info);
        const bool kept = globalIldaFrames.getNumberOfFrames() > 0;
        if (!kept)
            status = LoadFailed;
        const Outcome outcome{readable.error, kept, readable.stoppedAt, readable.skipped};
        if (json)
            printJson(file, outcome, info, points, out);
        else
            printTable(file, outcome, info, out);
        out.flush();
    }
    return status;
}

} // namespace Inspector
