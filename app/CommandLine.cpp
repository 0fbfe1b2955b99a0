#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

CommandLine CommandLine::parse(const QStringList& args)
{
    QCommandLineParser parser;
    // Qt's own options (-platform, -style, ...) are single-dash words that QApplication takes.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "A viewer for laser-show frame files."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QCoreApplication::translate("CommandLine", "The ILDA or controller file to open."),
        QStringLiteral("[file]"));

    // Accepted here so that they reach QApplication, but not listed in the help.
    const char* const qtValueOptions[] = {"platform",        "platformpluginpath",
                                          "platformtheme",   "plugin",
                                          "qwindowgeometry", "qwindowicon",
                                          "qwindowtitle",    "style",
                                          "stylesheet",      "session",
                                          "display",         "geometry"};
    const char* const qtFlags[] = {"reverse", "widgetcount", "sync", "nograb", "dograb"};
    for (const char* name : qtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : qtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine result;
    if (!parser.parse(args)) {
        result.m_action = UsageError;
        result.m_text = QStringLiteral("lumenar: %1\nTry 'lumenar --help' for more information.\n")
                            .arg(parser.errorText());
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.m_action = Help;
        result.m_text = parser.helpText();
    } else if (parser.isSet(version)) {
        result.m_action = Version;
        result.m_text = QStringLiteral("lumenar %1\n").arg(QCoreApplication::applicationVersion());
    } else if (!parser.positionalArguments().isEmpty()) {
        result.m_fileName = parser.positionalArguments().constFirst();
    }
    return result;
}
