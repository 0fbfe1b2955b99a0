// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/Exporter.h"

#include "export/FramePainter.h"
#include "export/GifWriter.h"
#include "export/OutputFile.h"
#include "model/IldaFrames.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Exporter", text);
}

QString cannotWrite(const QString& fileName, const QString& reason)
{
    return tr("Cannot write %1:\n%2").arg(QDir::toNativeSeparators(fileName), reason);
}

// Encoded in memory first, so that every byte reaches the file through one checked write.
QString writeBytes(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(fileName, file.errorString());
    const QString reason = OutputFile::write(file, bytes);
    return reason.isEmpty() ? QString() : cannotWrite(fileName, reason);
}

QString writePng(const QString& fileName, const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return cannotWrite(fileName, writer.errorString());
    return writeBytes(fileName, bytes);
}

QImage frameImage(const FramePainter& painter, int frame)
{
    painter.setFrame(frame);
    return painter.image();
}

} // namespace

Exporter::Format Exporter::formatOf(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return Png;
    if (suffix == QLatin1String("svg"))
        return Svg;
    if (suffix == QLatin1String("gif"))
        return Gif;
    return Unknown;
}

QString Exporter::sequenceName(int index, int count)
{
    const int digits = qMax(4, int(QString::number(count).size()));
    return QStringLiteral("frame-%1.png").arg(index + 1, digits, 10, QLatin1Char('0'));
}

QString Exporter::writePicture(const QString& fileName, Format format, int frame, int layout,
                               const QSize& size)
{
    const FramePainter painter(layout, size);
    if (!painter.isValid())
        return tr("There is no such view.");
    painter.setFrame(frame);
    if (format == Png)
        return writePng(fileName, painter.image());
    if (format != Svg)
        return tr("Pictures are written as PNG or SVG.");

    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // At the CSS resolution a view's pixel is one SVG pixel in browsers.
    svg.setResolution(96);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QFileInfo(fileName).completeBaseName());
    svg.setDescription(tr("Drawn by Lumenar"));
    {
        // The views draw one-pixel lines that fill the pixel right of and below their
        // coordinates; half a pixel moves them onto that pixel in the drawing too.
        QPainter svgPainter(&svg);
        svgPainter.translate(0.5, 0.5);
        painter.paint(svgPainter);
    }
    return writeBytes(fileName, bytes);
}

QString Exporter::writeAnimation(const QString& fileName, Format format, int layout,
                                 const QSize& size, const Duration& duration, bool loop,
                                 const Progress& progress)
{
    const int count = globalIldaFrames.getNumberOfFrames();
    if (count < 1)
        return tr("There are no frames to write.");
    const FramePainter painter(layout, size);
    if (!painter.isValid())
        return tr("There is no such view.");

    if (format == PngSequence) {
        QDir dir(fileName);
        const bool created = !dir.exists();
        // Undoing a failed or cancelled export must never delete pictures it did not write.
        if (!created && !dir.isEmpty())
            return cannotWrite(fileName, tr("The folder is not empty; choose a new one."));
        if (!QDir().mkpath(fileName))
            return cannotWrite(fileName, tr("The folder cannot be created."));
        QStringList written;
        auto undo = [&] {
            for (const QString& name : written)
                QFile::remove(name);
            if (created)
                QDir().rmdir(fileName);
        };
        for (int i = 0; i < count; ++i) {
            const QString name = dir.filePath(sequenceName(i, count));
            const QString error = writePng(name, frameImage(painter, i));
            if (!error.isEmpty()) {
                undo();
                return error;
            }
            written << name;
            if (progress && !progress(i + 1, count)) {
                undo();
                return QString();
            }
        }
        return QString();
    }
    if (format != Gif)
        return tr("Animations are written as GIF or as a PNG sequence.");

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(fileName, file.errorString());
    GifWriter gif(&file, size, loop);
    const GifTiming timing(count, duration);
    for (int i = 0; i < count; ++i) {
        if (timing.isShown(i)) {
            if (!gif.addFrame(frameImage(painter, i), timing.delay(i)))
                return cannotWrite(fileName, gif.getErrorString());
        }
        if (progress && !progress(i + 1, count))
            return QString();
    }
    if (!gif.finish())
        return cannotWrite(fileName, gif.getErrorString());
    const QString reason = OutputFile::commit(file);
    return reason.isEmpty() ? QString() : cannotWrite(fileName, reason);
}

Exporter::GifTiming::GifTiming(int count, const Duration& duration) : m_delays(count, 0)
{
    // Centiseconds from the start, rounded from the running time so that no rounding adds up.
    auto centis = [](qint64 ns) { return (ns + 5000000) / 10000000; };
    QVector<qint64> starts(count);
    qint64 elapsed = 0;
    for (int i = 0; i < count; ++i) {
        starts[i] = centis(elapsed);
        elapsed += duration(i);
    }
    const qint64 total = centis(elapsed);
    // A frame is shown when it starts at least MinDelay after the one shown before it and
    // before the end; the others fall in the time of the frame before them.
    int shown = 0;
    for (int i = 1; i < count; ++i) {
        if (starts[i] - starts[shown] >= MinDelay && total - starts[i] >= MinDelay) {
            m_delays[shown] = int(starts[i] - starts[shown]);
            shown = i;
        }
    }
    if (count > 0)
        m_delays[shown] = int(qMax<qint64>(MinDelay, total - starts[shown]));
}
