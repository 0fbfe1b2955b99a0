// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/IldaCheck.h"

#include "check/ByteSource.h"
#include "model/IldaFrame.h"
#include "readers/IldaFormat.h"

#include <QIODevice>
#include <QObject>
#include <QVector>
#include <QtEndian>

#include <algorithm>
#include <limits>

namespace {

using IldaFormat::HeaderRest;
using IldaFormat::HeaderSize;
using IldaFormat::recordSize;
using IldaFormat::Signature;
constexpr int DefaultColours = 64;
constexpr int PaletteEntries = 256;
constexpr uchar LastPointBit = 0x80;

// "1 byte follows", "2 bytes follow": one as one, each text whole for the translators.
QString counted(qint64 n, const QString& one, const QString& many)
{
    return n == 1 ? one : many.arg(n);
}

// One walk over the file. The first walk only counts the frames read whole and notes whether an
// error stops it, so that the second can compare every header's total with it while it goes.
class SectionWalk
{
public:
    // progress gets the bytes walked plus `before`, for the second of two walks.
    SectionWalk(QIODevice& device, const FindingSink* sink, int framesInFile, bool fileFails,
                const CheckProgress& progress = CheckProgress(), qint64 before = 0)
        : m_in(device), m_sink(sink), m_framesInFile(framesInFile), m_fileFails(fileFails),
          m_progress(progress), m_before(before)
    {
        std::fill(m_colours, m_colours + PaletteEntries, DefaultColours);
    }

    int run();
    bool failed() const { return m_failed; }

private:
    void report(const char* code, Finding::Severity severity, qint64 offset, const QString& text,
                qint64 bytes = -1)
    {
        if (severity == Finding::Error)
            m_failed = true;
        if (m_sink)
            (*m_sink)({QLatin1String(code), severity, offset, m_section, text, bytes, m_frame});
    }
    // Findings about a section wait until it is read whole: a section that is itself the error
    // gets that error alone.
    void hold(const char* code, qint64 offset, const QString& text)
    {
        if (m_sink)
            m_held.append(
                {QLatin1String(code), Finding::Warning, offset, m_section, text, -1, m_frame});
    }
    void release()
    {
        for (const Finding& finding : qAsConst(m_held))
            (*m_sink)(finding);
        m_held.clear();
    }
    void truncated(qint64 at, int size, int count)
    {
        const qint64 read = (m_in.pos() - at - HeaderSize) / size;
        report(
            "truncated-section", Finding::Error, at,
            count == 1
                ? QObject::tr("the section ends after %1 of its 1 record").arg(read)
                : QObject::tr("the section ends after %1 of its %2 records").arg(read).arg(count));
    }
    bool scan();
    bool pointRecords(qint64 at, quint32 format, int count, int projector);

    ByteSource m_in;
    const FindingSink* m_sink;
    const int m_framesInFile;
    const bool m_fileFails;
    bool m_failed = false;
    const CheckProgress m_progress;
    const qint64 m_before;
    int m_frames = 0;
    int m_frame = -1; // of the section being walked
    int m_section = 0;
    int m_colours[PaletteEntries];
    QVector<Finding> m_held;
};

// Mirrors the reader's scan: a window of the last four bytes that starts empty every time.
bool SectionWalk::scan()
{
    quint32 window = 0;
    for (;;) {
        const int byte = m_in.next();
        if (byte < 0)
            return false;
        window = (window << 8) | quint32(byte);
        if (window == Signature)
            return true;
    }
}

int SectionWalk::run()
{
    bool headerSeen = false;
    for (;;) {
        const qint64 scanStart = m_in.pos();
        m_frame = -1;
        if (m_progress && !m_progress(m_before + scanStart / 2))
            return -1;
        if (!scan()) {
            if (m_in.failed())
                report("read-error", Finding::Error, m_in.pos(),
                       QObject::tr("the file cannot be read from here on"));
            else if (!headerSeen)
                report("no-header", Finding::Error, 0,
                       counted(m_in.pos(),
                               QObject::tr("no \"ILDA\" signature in the file's 1 byte"),
                               QObject::tr("no \"ILDA\" signature in the file's %1 bytes")));
            else if (m_in.pos() > scanStart) // trailing bytes are this finding's, not skipped
                report("missing-end-header", Finding::Warning, scanStart,
                       counted(m_in.pos() - scanStart,
                               QObject::tr("the file ends without an end header; 1 byte follows "
                                           "the last section"),
                               QObject::tr("the file ends without an end header; %1 bytes follow "
                                           "the last section")));
            else
                report("missing-end-header", Finding::Warning, scanStart,
                       QObject::tr("the file ends without an end header (a header of 0 records)"));
            return m_frames;
        }
        const qint64 at = m_in.pos() - 4;
        if (at > scanStart)
            report("skipped-bytes", Finding::Warning, scanStart,
                   counted(at - scanStart, QObject::tr("1 byte belongs to no section"),
                           QObject::tr("%1 bytes belong to no section")),
                   at - scanStart);

        const uchar* header = m_in.take(HeaderRest);
        if (!header) {
            report("truncated-header", Finding::Error, at,
                   QObject::tr("the header ends after %1 of its %2 bytes")
                       .arg(m_in.pos() - at)
                       .arg(HeaderSize));
            return m_frames;
        }
        const quint32 format = qFromBigEndian<quint32>(header);
        const int count = qFromBigEndian<quint16>(header + 20);
        const int frameNumber = qFromBigEndian<quint16>(header + 22);
        const int totalFrames = qFromBigEndian<quint16>(header + 24);
        const int projector = header[26];
        const int reserved = header[27];

        if (format > 5 || format == 3) {
            QString text = QObject::tr("unknown format code %1").arg(format);
            if (format > 0xFF)
                text += QObject::tr(" (header bytes 4 to 6 should be 0)");
            report("unknown-format", Finding::Error, at, text);
            return m_frames;
        }
        if (reserved != 0)
            hold("reserved-nonzero", at,
                 QObject::tr("the reserved last header byte is %1, not 0").arg(reserved));
        if (count == 0) {
            release();
            const qint64 after = m_in.pos();
            if (!m_in.atEnd()) {
                const qint64 rest = m_in.skip(std::numeric_limits<qint64>::max() - after);
                report("data-after-end", Finding::Warning, after,
                       counted(rest, QObject::tr("1 byte follows the end header"),
                               QObject::tr("%1 bytes follow the end header")));
            }
            return m_frames;
        }

        const int size = recordSize(format);
        if (format == 2) {
            if (count > PaletteEntries)
                hold("palette-size", at,
                     QObject::tr("the palette holds %1 colours; those after the first %2 are "
                                 "ignored")
                         .arg(count)
                         .arg(PaletteEntries));
            if (m_in.skip(qint64(count) * size) != qint64(count) * size) {
                truncated(at, size, count);
                return m_frames;
            }
            m_colours[projector] = std::max(m_colours[projector], std::min(count, 256));
        } else {
            const int index = m_frames;
            m_frame = index;
            if (frameNumber != index)
                hold("frame-number", at,
                     QObject::tr("frame number %1, but this is frame %2 counting from 0")
                         .arg(frameNumber)
                         .arg(index));
            // After an error the rest of the file is unknown: only more whole frames than a
            // header's total is certain.
            if (m_framesInFile >= 0 && !m_fileFails && totalFrames != m_framesInFile)
                hold("total-frames", at,
                     QObject::tr("total frames %1, but the file holds %2")
                         .arg(totalFrames)
                         .arg(m_framesInFile));
            else if (m_framesInFile >= 0 && m_fileFails && m_framesInFile > totalFrames)
                hold("total-frames", at,
                     QObject::tr("total frames %1, but the file holds at least %2 before its "
                                 "error")
                         .arg(totalFrames)
                         .arg(m_framesInFile));
            if (count > IldaFrame::MaxPoints)
                hold("points-dropped", at,
                     QObject::tr("%1 records; those after the first %2 are not shown")
                         .arg(count)
                         .arg(IldaFrame::MaxPoints));
            if (!pointRecords(at, format, count, projector)) {
                m_held.clear();
                truncated(at, size, count);
                return m_frames;
            }
            ++m_frames;
        }
        if (m_sink)
            release();
        headerSeen = true;
        ++m_section;
    }
}

// Reads a point section's records; false when the file ends inside them.
bool SectionWalk::pointRecords(qint64 at, quint32 format, int count, int projector)
{
    const int size = recordSize(format);
    if (!m_sink)
        return m_in.skip(qint64(count) * size) == qint64(count) * size;

    const int statusAt = (format == 0 || format == 4) ? 6 : 4;
    const bool indexed = format <= 1;
    const int colours = m_colours[projector];
    int lastPoint = -1; // the first record whose last-point bit is wrong
    int colour = -1;    // the first record whose colour index is beyond the palette
    int index = 0;
    for (int i = 0; i < count; ++i) {
        const uchar* record = m_in.take(size);
        if (!record)
            return false;
        const uchar status = record[statusAt];
        if (lastPoint < 0 && bool(status & LastPointBit) != (i == count - 1))
            lastPoint = i;
        if (indexed && colour < 0 && record[statusAt + 1] >= colours) {
            colour = i;
            index = record[statusAt + 1];
        }
    }
    const qint64 first = at + HeaderSize;
    const auto holdLastPoint = [&] {
        hold("last-point", first + qint64(lastPoint) * size,
             lastPoint == count - 1
                 ? QObject::tr("the frame's last record (%1) lacks the last-point bit")
                       .arg(lastPoint)
                 : QObject::tr("record %1 has the last-point bit, but the frame has %2 records")
                       .arg(lastPoint)
                       .arg(count));
    };
    // In file order: whichever record comes first.
    if (lastPoint >= 0 && (colour < 0 || lastPoint <= colour))
        holdLastPoint();
    if (colour >= 0)
        hold("color-index", first + qint64(colour) * size,
             QObject::tr("record %1 uses colour %2, but projector %3 has %4 colours")
                 .arg(colour)
                 .arg(index)
                 .arg(projector)
                 .arg(colours));
    if (lastPoint > colour && colour >= 0)
        holdLastPoint();
    return true;
}

} // namespace

namespace IldaCheck {

void run(QIODevice& device, const FindingSink& sink, const CheckProgress& progress)
{
    // Totals need the number of frames first: a pipe, read once, goes without them.
    int frames = -1;
    bool fails = false;
    const qint64 start = device.pos();
    qint64 half = 0;
    if (!device.isSequential()) {
        SectionWalk count(device, nullptr, -1, false, progress);
        frames = count.run();
        if (frames < 0 && progress)
            return; // stopped
        fails = count.failed();
        device.seek(start);
        half = device.size() / 2;
    }
    SectionWalk(device, &sink, frames, fails, progress, half).run();
}

} // namespace IldaCheck
