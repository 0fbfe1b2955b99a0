#pragma once

#include "IldaBuilder.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "views/IldaView.h"

#include <QColor>
#include <QDir>
#include <QImage>

// Frames for the view tests, written as ILDA files and loaded through the real reader, and views
// painted into images as the window would paint them.
namespace ViewTestFrames {

using Points = QVector<IldaPoint>;

inline IldaPoint lit(int x, int y, const QColor& colour, int z = 0)
{
    IldaPoint p;
    p.x = int16_t(x);
    p.y = int16_t(y);
    p.z = int16_t(z);
    p.red = uint8_t(colour.red());
    p.green = uint8_t(colour.green());
    p.blue = uint8_t(colour.blue());
    return p;
}

inline IldaPoint blanked(int x, int y)
{
    IldaPoint p = lit(x, y, Qt::black);
    p.blanked = true;
    return p;
}

// Loads the frames (format 4, one section each) into globalIldaFrames; returns the reader's
// message, empty on success.
inline QString load(const QString& dir, const QVector<Points>& frames,
                    const QString& name = QStringLiteral("frames.ild"))
{
    IldaBuilder ilda;
    for (int f = 0; f < frames.size(); ++f) {
        ilda.header(4, "Views", "Tests", frames[f].size(), f, frames.size());
        for (const IldaPoint& p : frames[f])
            ilda.point4(p.x, p.y, p.z, p.blanked ? 0x40 : 0, p.red, p.green, p.blue);
    }
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ilda.end().bytes()) < 0)
        return QStringLiteral("cannot write ") + path;
    file.close();
    InfoWindow info;
    return globalIldaFrames.loadFile(path, info);
}

inline QImage paint(IldaView& view, const QSize& size)
{
    view.resize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta); // anything the view leaves unpainted shows
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace ViewTestFrames
