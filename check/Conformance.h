#pragma once

#include "check/Finding.h"

#include <QStringList>

// The conformance report of one show file, whichever format its name says it is.
namespace Conformance {

// "pic", "ccat" or "ani" for the controller's files, empty for ILDA: the name decides, as when
// the viewer opens a file.
QString controllerKind(const QString& fileName);

// Reports every finding of the file in file order; checking stops at the first error. For an
// animation, pictures (if given) receives the picture files it reads.
void check(const QString& fileName, const FindingSink& sink, QStringList* pictures = nullptr);

// The files that reading fileName opens: the file itself and, for an animation, its pictures.
QStringList inputsOf(const QString& fileName);

} // namespace Conformance
