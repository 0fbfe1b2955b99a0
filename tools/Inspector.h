#pragma once

#include <QStringList>

class QCommandLineParser;
class QTextStream;

// The command-line inspector: loads files through the viewer's own loading road and reports
// the information rows and frames as a table or as JSON lines.
namespace Inspector {

enum ExitCode { Success = 0, LoadFailed = 1, UsageError = 2 };

// args excludes the program name. Returns the process exit status.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

QString jsonString(const QString& text);

// Every mode parses its arguments this way, with the options it knows (an option of another mode
// is unknown to it): the parser's message for a usage error, else an empty string.
QString parseArguments(QCommandLineParser& parser, const QStringList& args);

} // namespace Inspector
