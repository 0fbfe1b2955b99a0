// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>
#include <QSize>
#include <QString>
#include <QVector>

class QImage;
class QIODevice;
struct GifFileType;

// Writes an animated GIF through giflib, frame by frame, to any open device.
class GifWriter
{
public:
    // loop: the animation repeats for ever; otherwise it plays once.
    GifWriter(QIODevice* device, const QSize& size, bool loop);
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Each frame is shown for delay centiseconds; images of another size are scaled.
    bool addFrame(const QImage& image, int delay);
    bool finish();
    QString getErrorString() const { return m_error; }

    // At most 256 colours, as a palette and one index per pixel: the image's own colours when it
    // has no more, else a fixed 6 x 7 x 6 colour cube, which holds black exactly.
    static void quantize(const QImage& image, QVector<QRgb>& palette, QByteArray& indices);

private:
    bool fail(int code);
    void setError(int code);

    QIODevice* m_device;
    GifFileType* m_gif = nullptr;
    QSize m_size;
    QString m_error;
};
