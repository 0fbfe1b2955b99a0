// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QTextStream;

// lumenar-inspect --play: streams a show to a laser DAC for a set time, then blacks out.
namespace Play {

extern const char Help[];

bool isPlayCommand(const QStringList& args);

// args excludes the program name. Returns an Inspector exit status.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace Play
