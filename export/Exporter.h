// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>
#include <QVector>

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

    // GIF delays are hundredths of a second, and viewers stretch a delay under 2 to 10: a GIF
    // plays at most 50 frames per second. Faster shows keep their timing by showing only the
    // frames that fall at least 2 hundredths apart.
    static constexpr int MaxGifFps = 50;
    class GifTiming
    {
    public:
        GifTiming(int count, const Duration& duration);
        bool isShown(int frame) const { return m_delays[frame] > 0; }
        // In hundredths of a second; 0 for a frame that is left out.
        int delay(int frame) const { return m_delays[frame]; }

    private:
        static constexpr int MinDelay = 100 / MaxGifFps;
        QVector<int> m_delays;
    };

    // The name of picture `index` of `count` in a PNG sequence: frame-0001.png and on.
    static QString sequenceName(int index, int count);
};
