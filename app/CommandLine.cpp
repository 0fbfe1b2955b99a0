#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

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

    // Finder may add a process serial number ("-psn_0_12345") to a program it starts.
    QStringList given = args;
    given.erase(std::remove_if(given.begin() + qMin(1, given.size()), given.end(),
                               [](const QString& arg) { return arg.startsWith("-psn_"); }),
                given.end());

    CommandLine result;
    if (!parser.parse(given)) {
        result.m_action = UsageError;
        result.m_text = QStringLiteral("lumenar: %1\nTry 'lumenar --help' for more information.\n")
                            .arg(parser.errorText());
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.m_action = Help;
        result.m_text = parser.helpText();
    } else if (parser.isSet(version)) {
        result.m_action = Version;
        result.m_text =
            versionText(QStringLiteral("lumenar"), QCoreApplication::applicationVersion());
    } else if (!parser.positionalArguments().isEmpty()) {
        result.m_fileName = parser.positionalArguments().constFirst();
    }
    return result;
}

QString CommandLine::versionText(const QString& program, const QString& version)
{
    return QStringLiteral("%1 %2\n"
                          "License GPL-3.0-or-later: GNU GPL version 3 or later "
                          "<https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(program, version);
}
