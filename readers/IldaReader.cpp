// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/InfoWindow.h"
#include "model/IldaFrames.h"
#include "readers/IldaFormat.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <functional>

namespace {

using IldaFormat::HeaderRest;
using IldaFormat::recordSize;
using IldaFormat::Signature;

enum class Scan { Found, NotFound, Cancelled };

// Scans for the next "ILDA" and leaves the file just after it. Searches peeked blocks instead of
// reading byte by byte; the window of the last four bytes starts empty on every scan. A long
// stretch without a signature asks keepGoing after every block.
Scan scanForSignature(QFile& file, const std::function<bool(qint64)>& keepGoing)
{
    quint32 window = 0;
    char block[65536];
    qint64 want = 64; // sections usually follow each other directly: start small
    for (;;) {
        const qint64 got = file.peek(block, want);
        if (got <= 0)
            return Scan::NotFound;
        for (qint64 i = 0; i < got; ++i) {
            window = (window << 8) | static_cast<unsigned char>(block[i]);
            if (window == Signature) {
                file.skip(i + 1);
                return Scan::Found;
            }
        }
        if (file.skip(got) != got)
            return Scan::NotFound;
        if (want == sizeof block && !keepGoing(file.pos()))
            return Scan::Cancelled;
        want = std::min<qint64>(want * 4, sizeof block);
    }
}

// Bytes up to the first zero, at most eight, each taken as Latin-1.
QString decodeText(const uchar* field)
{
    int length = 0;
    while (length < 8 && field[length] != 0)
        ++length;
    return QString::fromLatin1(reinterpret_cast<const char*>(field), length);
}

QString formatText(quint32 format)
{
    switch (format) {
    case 0:
        return QObject::tr("0 = 3D Coordinates with Indexed Color");
    case 1:
        return QObject::tr("1 = 2D Coordinates with Indexed Color");
    case 2:
        return QObject::tr("2 = Color Palette for Indexed Color Frames");
    case 4:
        return QObject::tr("4 = 3D Coordinates with True Color");
    default:
        return QObject::tr("5 = 2D Coordinates with True Color");
    }
}

QString invalidSectionText(quint32 format)
{
    switch (format) {
    case 0:
        return QObject::tr("Invalid data section (Format 0)!");
    case 1:
        return QObject::tr("Invalid data section (Format 1)!");
    case 2:
        return QObject::tr("Invalid data section (Format 2)!");
    case 4:
        return QObject::tr("Invalid data section (Format 4)!");
    default:
        return QObject::tr("Invalid data section (Format 5)!");
    }
}

inline qint16 coordinate(const uchar* p)
{
    return qFromBigEndian<qint16>(p);
}

} // namespace

bool IldaFrames::seekIlda(QFile& file) const
{
    return scanForSignature(file, [](qint64) { return true; }) == Scan::Found;
}

QString IldaFrames::openIldaFile(const QString& fileName, InfoWindow& info)
{
    initIldaPalette();
    QFile file(fileName);
    const QString unopened = openForReading(file);
    if (!unopened.isEmpty())
        return unopened;

    QByteArray records; // one section's records, read with a single call
    bool headerSeen = false;
    const auto keepGoing = [this](qint64 bytesRead) { return keepLoading(bytesRead); };
    for (;;) {
        m_sectionStart = file.pos();
        if (!keepLoading(file.pos()))
            return cancelledText();
        const Scan scan = scanForSignature(file, keepGoing);
        if (scan == Scan::Cancelled)
            return cancelledText();
        if (scan == Scan::NotFound) {
            if (!headerSeen)
                return QObject::tr("No ILDA header found!");
            if (file.atEnd()) {
                qDebug("Missing end of file header!");
                return QString();
            }
            return QObject::tr("Error reading file!");
        }

        m_sectionStart = file.pos() - 4;
        uchar header[HeaderRest];
        if (file.read(reinterpret_cast<char*>(header), HeaderRest) != HeaderRest)
            return QObject::tr("Invalid ILDA header!");

        const quint32 format = qFromBigEndian<quint32>(header);
        if (format > 5 || format == 3)
            return QObject::tr("Unknown format (%1)!").arg(format);

        const QString name = decodeText(header + 4);
        const QString company = decodeText(header + 12);
        const int count = qFromBigEndian<quint16>(header + 20);
        const int frameNumber = qFromBigEndian<quint16>(header + 22);
        const int totalFrames = qFromBigEndian<quint16>(header + 24);
        const int projector = header[26];

        if (count == 0) {
            if (!file.atEnd())
                qDebug("Data follow after end of file header!");
            return QString();
        }

        if (format == 2 ? !m_budget.chargeRow() : !m_budget.chargeFrame(count))
            return LoadBudget::exceededText();
        const int size = recordSize(format);
        records.resize(count * size);
        // A short read fails at the same record that a record-by-record read would.
        if (file.read(records.data(), records.size()) != records.size())
            return invalidSectionText(format);
        const auto* data = reinterpret_cast<const uchar*>(records.constData());

        if (format == 2) {
            const int kept = std::min(count, 256);
            for (int k = 0; k < kept; ++k) {
                m_paletteRed[projector][k] = data[k * 3];
                m_paletteGreen[projector][k] = data[k * 3 + 1];
                m_paletteBlue[projector][k] = data[k * 3 + 2];
            }
        } else {
            IldaFrame frame(name, company, frameNumber, totalFrames);
            // Points beyond the frame's capacity would be dropped anyway; their bytes are read.
            int kept = count;
            IldaPoint* points = frame.appendPoints(kept);
            const bool threeD = format == 0 || format == 4;
            const bool trueColor = format >= 4;
            for (int i = 0; i < kept; ++i) {
                const uchar* r = data + i * size;
                IldaPoint& point = points[i];
                point.x = coordinate(r);
                point.y = coordinate(r + 2);
                const uchar* rest = r + (threeD ? 6 : 4);
                point.z = threeD ? coordinate(r + 4) : 0;
                point.blanked = (rest[0] & 0x40) != 0; // bit 6 of the status byte
                if (trueColor) {
                    point.blue = rest[1];
                    point.green = rest[2];
                    point.red = rest[3];
                } else {
                    const uchar index = rest[1];
                    point.red = m_paletteRed[projector][index];
                    point.green = m_paletteGreen[projector][index];
                    point.blue = m_paletteBlue[projector][index];
                }
            }
            m_frames.append(frame);
        }
        info.AppendInfo(formatText(format), name, company, static_cast<unsigned short>(count),
                        QStringLiteral("%1").arg(projector), format != 2);
        headerSeen = true;
    }
}
