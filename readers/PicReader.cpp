// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "model/Palettes.h"
#include "readers/ControllerIo.h"
#include "readers/PyxEncoding.h"

#include <QColor>
#include <QFile>
#include <QtEndian>

#include <algorithm>

using namespace ControllerIo;

namespace {
constexpr quint32 TrueColorChunk = 2;
// Chunks between two chances to cancel: a walk of empty chunks can take billions of steps.
constexpr quint32 ChunksPerProgress = 4096;

struct Beam
{
    bool blanked;
    uchar red, green, blue;
};

} // namespace

bool IldaFrames::skipBytes(QFile& file, int count) const
{
    return ControllerIo::skip(file, count);
}

bool IldaFrames::readCount(QFile& file, int& value) const
{
    uchar bytes[4];
    if (!ControllerIo::read(file, bytes, 1))
        return false;
    // 0xFE and 0xFF announce a 16-bit unsigned and a 32-bit signed value.
    if (bytes[0] == 0xFE) {
        if (!ControllerIo::read(file, bytes, 2))
            return false;
        value = qFromBigEndian<quint16>(bytes);
    } else if (bytes[0] == 0xFF) {
        if (!ControllerIo::read(file, bytes, 4))
            return false;
        value = qFromBigEndian<qint32>(bytes);
    } else {
        value = bytes[0];
    }
    return true;
}

bool IldaFrames::readString(QFile& file, QString& text) const
{
    constexpr int MaxLength = 256;
    int length = 0;
    if (!readCount(file, length) || length < 0 || length > MaxLength)
        return false;
    uchar bytes[MaxLength + 1];
    if (!ControllerIo::read(file, bytes, length))
        return false;
    bytes[length] = 0;
    text = PyxEncoding::fromPyx(bytes, -1, QLatin1Char('?'));
    return true;
}

void IldaFrames::appendVectrionPIC(int count, bool trueColor)
{
    IldaFrame frame(QString(), QString(), 0, 1);
    if (count > 0) {
        // Records past the frame's capacity are dropped.
        int kept = std::min(count, int(PicBufferRecords));
        IldaPoint* points = frame.appendPoints(kept);
        Beam previous{};
        for (int i = 0; i < kept; ++i) {
            const uchar* record = m_picPoints + i * PointRecordSize;
            const uchar status = record[1];
            Beam beam;
            beam.blanked = (status & 0x40) != 0; // bit 6 of the status byte
            if (trueColor) {
                const uchar* color = m_picColors + i * ColorRecordSize;
                // The hue byte counts 240ths of a turn; 240 and above is no hue at all.
                const int hue = color[1] * 360 / 240;
                if (hue < 360) {
                    const QColor rgb = QColor::fromHsv(hue, color[2], color[3], 255);
                    beam.red = uchar(rgb.red());
                    beam.green = uchar(rgb.green());
                    beam.blue = uchar(rgb.blue());
                } else {
                    beam.red = beam.green = beam.blue = 0;
                }
            } else {
                const uchar* entry = vectrionDefaultPalette + (status & 0x3F) * 3;
                beam.red = entry[0];
                beam.green = entry[1];
                beam.blue = entry[2];
            }
            // A record's colour and blanking describe the beam leaving it, so they belong to
            // the next point; the first point keeps its own.
            if (i == 0)
                previous = beam;

            IldaPoint& point = points[i];
            point.x = qFromBigEndian<qint16>(record + 2);
            point.y = qFromBigEndian<qint16>(record + 4);
            // The controller's z points the other way; -32768 has no positive twin.
            const qint16 z = qFromBigEndian<qint16>(record + 6);
            point.z = z == -32768 ? qint16(-32768) : qint16(-z);
            point.blanked = previous.blanked;
            point.red = previous.red;
            point.green = previous.green;
            point.blue = previous.blue;
            previous = beam;
        }
    }
    m_frames.append(frame);
}

QString IldaFrames::openVectrionPIC(const QString& fileName, InfoWindow& info)
{
    bool trueColor = false;
    int count = 0;
    return readPicture(fileName, info, trueColor, count);
}

QString IldaFrames::readPicture(const QString& fileName, InfoWindow& info, bool& trueColor,
                                int& count)
{
    QFile file(fileName);
    const QString unopened = openForReading(file);
    if (!unopened.isEmpty())
        return unopened;

    const QString unknownFormat = QObject::tr("Unknown file format!");
    uchar header[PicHeaderSize];
    if (!ControllerIo::readHeader(file, header, PicHeaderSize))
        return unknownFormat;
    count = qFromBigEndian<quint16>(header + 6);
    quint32 extensionLeft = qFromBigEndian<quint32>(header + 10);

    trueColor = false;
    const quint32 colorBytes = quint32(count) * ColorRecordSize;
    quint32 chunks = 0;
    while (extensionLeft != 0) {
        if (++chunks % ChunksPerProgress == 0 && !keepLoading(m_insideAnimation ? -1 : file.pos()))
            return cancelledText();
        if (extensionLeft < ChunkHeaderSize) {
            if (!ControllerIo::skip(file, extensionLeft))
                return unknownFormat;
            break;
        }
        uchar chunk[ChunkHeaderSize];
        if (!ControllerIo::read(file, chunk, ChunkHeaderSize))
            return unknownFormat;
        extensionLeft -= ChunkHeaderSize;
        const quint32 type = qFromBigEndian<quint32>(chunk);
        const quint32 length = qFromBigEndian<quint32>(chunk + 4);
        // A chunk that claims more than the extension area holds would eat into the points.
        if (length > extensionLeft)
            return unknownFormat;
        if (type == TrueColorChunk && length >= colorBytes) {
            if (!ControllerIo::read(file, m_picColors, colorBytes))
                return unknownFormat;
            trueColor = true;
            if (!ControllerIo::skip(file, length - colorBytes))
                return unknownFormat;
        } else {
            // A colour chunk too short for every point is ignored without a word.
            if (type != TrueColorChunk)
                debugLimited("Unknown Extension Chunk!");
            if (!ControllerIo::skip(file, length))
                return unknownFormat;
        }
        extensionLeft -= length;
    }

    if (!m_budget.chargeFrame(count))
        return LoadBudget::exceededText();
    if (!ControllerIo::read(file, m_picPoints, qint64(count) * PointRecordSize))
        return unknownFormat;
    file.close();

    appendVectrionPIC(count, trueColor);
    info.AppendInfo(ControllerIo::pictureFormatText(trueColor),
                    ControllerIo::pictureRowName(fileName), QString(), ushort(count), QString());
    return QString();
}
