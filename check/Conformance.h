// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/Finding.h"

#include <QStringList>

// The conformance report of one show file, whichever format its name says it is.
namespace Conformance {

// "pic", "ccat" or "ani" for the controller's files, empty for ILDA: the name decides, as when
// the viewer opens a file.
QString controllerKind(const QString& fileName);

// Reads a controller file the viewer's way and returns the reader's message, empty on success.
using Load = std::function<QString(const QString& fileName)>;

// The default Load: a store of its own (the open file's stays as it is) with an information
// window, so it runs on the GUI thread; progress as for a load (LoadEnded at the end).
QString loadPrivately(const QString& fileName, const CheckProgress& progress = CheckProgress());

// Reports every finding of the file in file order; checking stops at the first error or when
// progress returns false. For an animation, pictures (if given) receives the picture files it
// reads. load (loadPrivately when empty) supplies a controller reader's message.
void check(const QString& fileName, const FindingSink& sink, QStringList* pictures = nullptr,
           const CheckProgress& progress = CheckProgress(), const Load& load = Load());

// The files that reading fileName opens: the file itself and, for an animation, its pictures
// (those of the first `frames` entries when frames is not negative).
QStringList inputsOf(const QString& fileName, int frames = -1);

} // namespace Conformance
