#include "check/IldaWriter.h"

#include "model/IldaFrame.h"
#include "readers/IldaFormat.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVector>
#include <QtEndian>

#include <algorithm>

namespace {

using IldaFormat::HeaderSize;
constexpr int TextLength = 8;
constexpr uchar LastPointBit = 0x80;
constexpr uchar BlankingBit = 0x40;

void put16(uchar*& at, int value)
{
    qToBigEndian<quint16>(quint16(value), at);
    at += 2;
}

} // namespace

IldaWriter::IldaWriter(QIODevice& device, int totalFrames) : m_device(device), m_total(totalFrames)
{
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

bool IldaWriter::writeHeader(quint32 format, const QString& name, const QString& company,
                             int records)
{
    uchar header[HeaderSize] = {};
    qToBigEndian<quint32>(IldaFormat::Signature, header);
    qToBigEndian<quint32>(format, header + 4);
    const QByteArray texts = textField(name) + textField(company);
    std::copy(texts.constBegin(), texts.constEnd(), header + 8);
    uchar* at = header + 24;
    put16(at, records);
    put16(at, m_written);
    put16(at, m_total);
    // Projector 0 and the reserved byte stay 0.
    return m_device.write(reinterpret_cast<const char*>(header), HeaderSize) == HeaderSize;
}

bool IldaWriter::writeFrame(const IldaFrame& frame, const QString& name, const QString& company)
{
    QVector<IldaPoint> points;
    points.reserve(qMax(1, frame.getNumberOfPoints()));
    for (int i = 0; i < frame.getNumberOfPoints(); ++i)
        points << frame.getPoint(i);
    if (points.isEmpty()) {
        IldaPoint origin;
        origin.blanked = true;
        points << origin;
    }
    bool threeD = false;
    for (const IldaPoint& p : points)
        threeD = threeD || p.z != 0;

    if (!writeHeader(threeD ? 4 : 5, name, company, points.size()))
        return false;
    const int size = threeD ? 10 : 8;
    QByteArray records(points.size() * size, '\0');
    auto* at = reinterpret_cast<uchar*>(records.data());
    for (int i = 0; i < points.size(); ++i) {
        const IldaPoint& p = points[i];
        put16(at, p.x);
        put16(at, p.y);
        if (threeD)
            put16(at, p.z);
        *at++ = uchar((p.blanked ? BlankingBit : 0) | (i == points.size() - 1 ? LastPointBit : 0));
        // True colour is stored blue, green, red.
        *at++ = p.blue;
        *at++ = p.green;
        *at++ = p.red;
    }
    ++m_written;
    return m_device.write(records) == records.size();
}

bool IldaWriter::finish()
{
    return writeHeader(5, QString(), QString(), 0);
}
