// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/IldaWriter.h"

#include "model/IldaFrame.h"
#include "model/Palettes.h"
#include "readers/IldaFormat.h"

#include <QIODevice>
#include <QString>
#include <QVector>
#include <QtEndian>

#include <algorithm>
#include <limits>

namespace {

using IldaFormat::HeaderSize;
constexpr int TextLength = 8;
constexpr int PaletteSize = 64;
constexpr uchar LastPointBit = 0x80;
constexpr uchar BlankingBit = 0x40;
// Writes go to the device in pieces of this size, not one call per frame or point.
constexpr int Chunk = 1 << 20;

using IldaFormat::recordSize;
uchar* put16(uchar* at, int value)
{
    at[0] = uchar(value >> 8);
    at[1] = uchar(value);
    return at + 2;
}

} // namespace

IldaWriter::IldaWriter(QIODevice& device, int totalFrames, int format)
    : m_device(device), m_total(totalFrames), m_format(format)
{
    m_buffer.reserve(2 * Chunk);
}

QByteArray IldaWriter::textField(const QString& text)
{
    QByteArray field;
    for (const uint c : text.toUcs4()) {
        if (field.size() == TextLength)
            break;
        field += c > 0xFF ? '?' : char(c);
    }
    // The reader stops at the first zero byte, so a field is never cut short by padding.
    return field.leftJustified(TextLength, '\0');
}

int IldaWriter::nearestIndex(QRgb colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < PaletteSize; ++i) {
        const int dr = qRed(colour) - ildaDefaultPalette[3 * i];
        const int dg = qGreen(colour) - ildaDefaultPalette[3 * i + 1];
        const int db = qBlue(colour) - ildaDefaultPalette[3 * i + 2];
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) { // strictly less: the lower index wins a tie
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void IldaWriter::writeHeader(quint32 format, const QString& name, const QString& company,
                             int records)
{
    uchar header[HeaderSize] = {};
    qToBigEndian<quint32>(IldaFormat::Signature, header);
    qToBigEndian<quint32>(format, header + 4);
    const QByteArray texts = textField(name) + textField(company);
    std::copy(texts.constBegin(), texts.constEnd(), header + 8);
    uchar* at = put16(header + 24, records);
    at = put16(at, m_written);
    put16(at, m_total);
    // Projector 0 and the reserved byte stay 0.
    m_buffer.append(reinterpret_cast<const char*>(header), HeaderSize);
}

bool IldaWriter::drain(int keep)
{
    if (m_buffer.size() <= keep)
        return true;
    const bool ok = m_device.write(m_buffer) == m_buffer.size();
    m_buffer.resize(0);
    return ok;
}

bool IldaWriter::writeFrame(const IldaFrame& frame, const QString& name, const QString& company)
{
    IldaPoint origin;
    origin.blanked = true;
    const int count = qMax(1, frame.getNumberOfPoints());
    const IldaPoint* points = frame.getNumberOfPoints() ? frame.getPoints() : &origin;

    int format = m_format;
    if (format == AutoFormat) {
        format = 5;
        for (int i = 0; i < count && format == 5; ++i)
            format = points[i].z != 0 ? 4 : 5;
    }
    const bool threeD = format == 0 || format == 4;
    const bool indexed = format <= 1;
    writeHeader(quint32(format), name, company, count);

    const int start = m_buffer.size();
    m_buffer.resize(start + count * recordSize(format));
    auto* at = reinterpret_cast<uchar*>(m_buffer.data()) + start;
    for (int i = 0; i < count; ++i) {
        const IldaPoint& p = points[i];
        at = put16(put16(at, p.x), p.y);
        if (threeD)
            at = put16(at, p.z);
        *at++ = uchar((p.blanked ? BlankingBit : 0) | (i == count - 1 ? LastPointBit : 0));
        // Black for a blanked point, whatever colour it carries.
        const QRgb colour = p.blanked ? qRgb(0, 0, 0) : qRgb(p.red, p.green, p.blue);
        if (indexed) {
            if (m_lastIndex < 0 || colour != m_lastColour) {
                m_lastColour = colour;
                m_lastIndex = nearestIndex(colour);
            }
            *at++ = uchar(m_lastIndex);
        } else {
            // True colour is stored blue, green, red.
            *at++ = uchar(qBlue(colour));
            *at++ = uchar(qGreen(colour));
            *at++ = uchar(qRed(colour));
        }
    }
    ++m_written;
    return drain(Chunk);
}

bool IldaWriter::finish()
{
    writeHeader(m_format == AutoFormat ? 5 : quint32(m_format), QString(), QString(), 0);
    return drain(0);
}
