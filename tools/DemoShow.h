// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace DemoShow {

constexpr int AnimationFrames = 72;

// The demo ILDA show: a turning 3-D figure (format 4), 2-D frames (formats 5 and 1), a palette
// for projector 1 (format 2), an indexed 3-D frame that uses it (format 0), and the end header.
QByteArray ildaShow();

// Writes every demo file into dir: the ILDA show, then the controller files Spiral.pic (true
// colour), Flower.pic (indexed colour), Lumenar.ccat (two sections, both colour modes) and
// Lumenar.ani, whose 24 pictures go into Lumenar.catl beside it. Returns the paths of the files
// to open, the ILDA show first, or an empty list on failure.
QStringList writeAll(const QString& dir);

} // namespace DemoShow
