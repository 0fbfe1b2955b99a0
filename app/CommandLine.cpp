// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

namespace {

// Qt's own options (-platform, -style, ...) that QApplication takes, listed by --help-all.
struct QtOption
{
    const char* name;
    const char* value; // nullptr for a flag
    const char* description;
};
const QtOption qtOptions[] = {
    {"platform", "name", "The platform plugin (xcb, wayland, offscreen, ...)."},
    {"platformpluginpath", "path", "Where to look for platform plugins."},
    {"platformtheme", "name", "The platform theme."},
    {"plugin", "name", "Loads an additional plugin (a tablet or touch input)."},
    {"qwindowgeometry", "geometry", "The first window's geometry (WxH+X+Y)."},
    {"qwindowicon", "icon", "The windows' icon."},
    {"qwindowtitle", "title", "The first window's title."},
    {"style", "style", "The widget style (Fusion, Windows, ...)."},
    {"stylesheet", "file", "A style sheet for the widgets."},
    {"session", "id", "Restores the session of that id."},
    {"display", "display", "The X display (X11 only)."},
    {"geometry", "geometry", "The main window's geometry (X11 only)."},
    {"reverse", nullptr, "Lays widgets out right to left."},
    {"widgetcount", nullptr, "Prints how many widgets were left at exit."},
    {"sync", nullptr, "Runs X11 synchronously, for debugging."},
    {"nograb", nullptr, "Never grabs the mouse or keyboard."},
    {"dograb", nullptr, "Grabs the mouse and keyboard even under a debugger."},
};

} // namespace

CommandLine CommandLine::parse(const QStringList& args)
{
    // Finder may add a process serial number ("-psn_0_12345") to a program it starts.
    QStringList given = args;
    given.erase(std::remove_if(given.begin() + qMin(1, given.size()), given.end(),
                               [](const QString& arg) { return arg.startsWith("-psn_"); }),
                given.end());

    CommandLine result;
    for (const bool listQt : {false, true}) {
        QCommandLineParser parser;
        // Qt's own options are single-dash words that QApplication takes.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            QCoreApplication::translate("CommandLine", "A viewer for laser-show frame files."));
        const QCommandLineOption help = parser.addHelpOption();
        const QCommandLineOption version = parser.addVersionOption();
        parser.addPositionalArgument(
            QStringLiteral("file"),
            QCoreApplication::translate("CommandLine", "The ILDA or controller file to open."),
            QStringLiteral("[file]"));
        // Accepted so that they reach QApplication; listed by --help-all only.
        for (const QtOption& qt : qtOptions) {
            QCommandLineOption option(QString::fromLatin1(qt.name),
                                      QCoreApplication::translate("CommandLine", qt.description),
                                      qt.value ? QString::fromLatin1(qt.value) : QString());
            if (!listQt)
                option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }

        if (!parser.parse(given)) {
            result.m_action = UsageError;
            result.m_text =
                QStringLiteral("lumenar: %1\nTry 'lumenar --help' for more information.\n")
                    .arg(parser.errorText());
        } else if (parser.isSet(QStringLiteral("help-all")) && !listQt) {
            continue; // again, with Qt's options in the help
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
        break;
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
