// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IldaFrames.h"

#include <QStringList>

class InfoWindow;
class QCommandLineParser;
class QTextStream;

// The command-line inspector: loads files through the viewer's own loading road and reports
// the information rows and frames as a table or as JSON lines.
namespace Inspector {

enum ExitCode { Success = 0, LoadFailed = 1, UsageError = 2 };

// args excludes the program name. Returns the process exit status.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

QString jsonString(const QString& text);

// A file that cannot be read, as one stderr line: the reader's message and the system's reason
// where there is one.
QString loadError(const QString& file, const QString& message);

// An exporter's message as one stderr line that continues the program's name.
QString writeError(QString failure);

// What a listing says of a file beside its rows and frames.
struct Outcome
{
    QString error;
    bool ok = false;       // rows and frames follow
    qint64 stoppedAt = -1; // readable frames: where reading failed
    QVector<IldaFrames::Skipped> skipped;
};
// The listing of what the store and info hold: a table, or one JSON object on one line.
void printTable(const QString& file, const Outcome& outcome, const InfoWindow& info,
                QTextStream& out);
void printJson(const QString& file, const Outcome& outcome, const InfoWindow& info, bool withPoints,
               QTextStream& out);

// --readable [--json [--no-points]] FILE...: the whole frames of damaged files.
int runReadable(const QStringList& args, QTextStream& out, QTextStream& err);

// Every mode parses its arguments this way, with the options it knows (an option of another mode
// is unknown to it): the parser's message for a usage error, else an empty string.
QString parseArguments(QCommandLineParser& parser, const QStringList& args);

} // namespace Inspector
