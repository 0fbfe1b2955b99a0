// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/GifWriter.h"

#include <QHash>
#include <QIODevice>
#include <QImage>

#include <gif_lib.h>

namespace {

constexpr int CubeRed = 6;
constexpr int CubeGreen = 7;
constexpr int CubeBlue = 6;

int writeToDevice(GifFileType* gif, const GifByteType* data, int length)
{
    auto* device = static_cast<QIODevice*>(gif->UserData);
    return int(device->write(reinterpret_cast<const char*>(data), length));
}

int cubeLevel(int value, int levels)
{
    return (value * (levels - 1) + 127) / 255;
}

} // namespace

GifWriter::GifWriter(QIODevice* device, const QSize& size, bool loop)
    : m_device(device), m_size(size)
{
    int code = 0;
    m_gif = EGifOpen(device, writeToDevice, &code);
    if (!m_gif) {
        fail(code);
        return;
    }
    EGifSetGifVersion(m_gif, true);
    if (EGifPutScreenDesc(m_gif, size.width(), size.height(), 8, 0, nullptr) == GIF_ERROR) {
        fail(m_gif->Error);
        return;
    }
    if (loop) {
        // The application extension that browsers read as "repeat for ever".
        static const GifByteType name[] = "NETSCAPE2.0";
        static const GifByteType repeat[] = {1, 0, 0};
        if (EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(m_gif, 11, name) == GIF_ERROR ||
            EGifPutExtensionBlock(m_gif, 3, repeat) == GIF_ERROR ||
            EGifPutExtensionTrailer(m_gif) == GIF_ERROR)
            fail(m_gif->Error);
    }
}

GifWriter::~GifWriter()
{
    if (m_gif)
        EGifCloseFile(m_gif, nullptr);
}

bool GifWriter::fail(int code)
{
    setError(code);
    if (m_gif)
        EGifCloseFile(m_gif, nullptr);
    m_gif = nullptr;
    return false;
}

void GifWriter::quantize(const QImage& source, QVector<QRgb>& palette, QByteArray& indices)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    indices.resize(w * h);
    palette.clear();

    QHash<QRgb, int> exact;
    for (int y = 0; y < h && exact.size() <= 256; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w && exact.size() <= 256; ++x)
            exact.insert(line[x] | 0xff000000u, 0);
    }
    const bool cube = exact.size() > 256;
    if (cube) {
        for (int r = 0; r < CubeRed; ++r)
            for (int g = 0; g < CubeGreen; ++g)
                for (int b = 0; b < CubeBlue; ++b)
                    palette << qRgb(r * 255 / (CubeRed - 1), g * 255 / (CubeGreen - 1),
                                    b * 255 / (CubeBlue - 1));
    } else {
        for (auto it = exact.begin(); it != exact.end(); ++it) {
            it.value() = palette.size();
            palette << it.key();
        }
    }

    char* out = indices.data();
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x];
            int index;
            if (cube)
                index =
                    (cubeLevel(qRed(c), CubeRed) * CubeGreen + cubeLevel(qGreen(c), CubeGreen)) *
                        CubeBlue +
                    cubeLevel(qBlue(c), CubeBlue);
            else
                index = exact.value(c | 0xff000000u);
            *out++ = char(index);
        }
    }
}

bool GifWriter::addFrame(const QImage& source, int delay)
{
    if (!m_gif)
        return false;
    const QImage image =
        source.size() == m_size ? source : source.scaled(m_size, Qt::IgnoreAspectRatio);
    QVector<QRgb> palette;
    QByteArray indices;
    quantize(image, palette, indices);

    // A colour map holds a power of two entries, at least two.
    int mapSize = 2;
    while (mapSize < palette.size())
        mapSize *= 2;
    ColorMapObject* map = GifMakeMapObject(mapSize, nullptr);
    if (!map)
        return fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    for (int i = 0; i < mapSize; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        map->Colors[i] = {GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }

    GraphicsControlBlock control;
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = qBound(0, delay, 65535);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);

    const int w = m_size.width();
    bool ok =
        EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) != GIF_ERROR &&
        EGifPutImageDesc(m_gif, 0, 0, w, m_size.height(), false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    for (int y = 0; ok && y < m_size.height(); ++y) {
        auto* line = reinterpret_cast<GifPixelType*>(indices.data() + y * w);
        ok = EGifPutLine(m_gif, line, w) != GIF_ERROR;
    }
    return ok || fail(m_gif->Error);
}

bool GifWriter::finish()
{
    if (!m_gif)
        return false;
    int code = 0;
    const int result = EGifCloseFile(m_gif, &code);
    m_gif = nullptr;
    if (result == GIF_ERROR) {
        setError(code);
        return false;
    }
    return true;
}

void GifWriter::setError(int code)
{
    // A failed write has the system's reason ("No space left on device"), not giflib's.
    m_error = code == E_GIF_ERR_WRITE_FAILED ? m_device->errorString()
                                             : QString::fromLatin1(GifErrorString(code));
}
