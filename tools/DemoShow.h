#pragma once

#include <QByteArray>
#include <QString>

namespace DemoShow {

constexpr int AnimationFrames = 72;

// The demo ILDA show: a turning 3-D figure (format 4), 2-D frames (formats 5 and 1), a palette
// for projector 1 (format 2), an indexed 3-D frame that uses it (format 0), and the end header.
QByteArray ildaShow();

// Writes every demo file into dir; returns the paths written, or an empty list on failure.
QStringList writeAll(const QString& dir);

} // namespace DemoShow
