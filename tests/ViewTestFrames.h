#pragma once

#include "model/IldaPoint.h"

#include <QByteArray>
#include <QVector>

class IldaView;
class QImage;
class QSize;
class QString;

// Frames for the view tests: built as ILDA bytes, loaded through the real reader, painted into
// images.
namespace ViewTestFrames {

using Points = QVector<IldaPoint>;

IldaPoint lit(int x, int y, int z, int red, int green, int blue);
IldaPoint blanked(int x, int y, int z = 0);

// One format-4 section (3-D, true colour) per frame, then the end header.
QByteArray ildaFile(const QVector<Points>& frames);

// Writes the frames to dir/name and loads them into globalIldaFrames at frame 0. Returns the
// reader's message: empty on success.
QString load(const QString& dir, const QVector<Points>& frames,
             const QString& name = QStringLiteral("frames.ild"));

// The view painted at the given size, as the window would paint it.
QImage paint(IldaView& view, const QSize& size);

} // namespace ViewTestFrames
