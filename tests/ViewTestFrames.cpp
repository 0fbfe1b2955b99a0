#include "ViewTestFrames.h"

#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "views/IldaView.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace ViewTestFrames {

IldaPoint lit(int x, int y, int z, int red, int green, int blue)
{
    IldaPoint point;
    point.x = int16_t(x);
    point.y = int16_t(y);
    point.z = int16_t(z);
    point.red = uint8_t(red);
    point.green = uint8_t(green);
    point.blue = uint8_t(blue);
    return point;
}

IldaPoint blanked(int x, int y, int z)
{
    IldaPoint point = lit(x, y, z, 0, 0, 0);
    point.blanked = true;
    return point;
}

QByteArray ildaFile(const QVector<Points>& frames)
{
    QByteArray bytes;
    auto u16 = [&bytes](int value) {
        bytes.append(char((value >> 8) & 0xff));
        bytes.append(char(value & 0xff));
    };
    auto header = [&](int count, int number) {
        bytes.append("ILDA", 4);
        bytes.append("\0\0\0\4", 4);                // format 4
        bytes.append("Views\0\0\0Tests\0\0\0", 16); // name, company
        u16(count);
        u16(number);
        u16(frames.size());
        bytes.append("\0\0", 2); // projector, reserved
    };
    for (int f = 0; f < frames.size(); ++f) {
        header(frames[f].size(), f);
        for (const IldaPoint& p : frames[f]) {
            u16(p.x);
            u16(p.y);
            u16(p.z);
            bytes.append(char(p.blanked ? 0x40 : 0)); // bit 6: blanked
            bytes.append(char(p.blue));
            bytes.append(char(p.green));
            bytes.append(char(p.red));
        }
    }
    header(0, frames.size());
    return bytes;
}

QString load(const QString& dir, const QVector<Points>& frames, const QString& name)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ildaFile(frames)) < 0)
        return QStringLiteral("cannot write %1").arg(path);
    file.close();
    InfoWindow info;
    return globalIldaFrames.loadFile(path, info);
}

QImage paint(IldaView& view, const QSize& size)
{
    view.resize(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta); // anything the view leaves unpainted shows
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace ViewTestFrames
