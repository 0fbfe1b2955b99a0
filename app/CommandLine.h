// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The viewer's command line: what to do, decided before any window exists.
class CommandLine
{
public:
    enum Action { Run, Help, Version, UsageError };

    // args as QCoreApplication::arguments() gives them, the program first. Needs an application
    // object of any kind (the help text names the program from it).
    static CommandLine parse(const QStringList& args);
    // What --version prints for either program: its name, version and licence.
    static QString versionText(const QString& program, const QString& version);

    Action getAction() const { return m_action; }
    QString getFileName() const { return m_fileName; }
    // What to print: the help or version for stdout, the message for stderr.
    QString getText() const { return m_text; }
    int getExitStatus() const { return m_action == UsageError ? 2 : 0; }

private:
    Action m_action = Run;
    QString m_fileName;
    QString m_text;
};
