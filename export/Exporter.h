#pragma once

#include <QSize>
#include <QString>

#include <functional>

// Pictures and animations of the open show, for the window and the inspector alike. Every
// function draws through FramePainter, returns an empty string or the user's message, and
// leaves nothing behind when it fails or is cancelled.
class Exporter
{
public:
    enum Format { Png, Svg, Gif, PngSequence, Unknown };

    // How long each frame shows, in nanoseconds.
    using Duration = std::function<qint64(int frame)>;
    // Called after each frame with how many are done; returning false cancels.
    using Progress = std::function<bool(int done, int total)>;

    // By the name's suffix: .png, .svg or .gif, in any letter case.
    static Format formatOf(const QString& fileName);

    // Frame `frame` of the store as a PNG or SVG picture.
    static QString writePicture(const QString& fileName, Format format, int frame, int layout,
                                const QSize& size);

    // Every frame, as an animated GIF or as numbered PNG pictures in the folder fileName. Frames
    // are read by index: the store's current frame never moves, so playback may go on.
    static QString writeAnimation(const QString& fileName, Format format, int layout,
                                  const QSize& size, const Duration& duration, bool loop,
                                  const Progress& progress);

    // The name of picture `index` of `count` in a PNG sequence: frame-0001.png and on.
    static QString sequenceName(int index, int count);
};
