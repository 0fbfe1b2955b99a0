#include "check/IldaCheck.h"

#include "check/ByteSource.h"
#include "model/IldaFrame.h"
#include "readers/IldaFormat.h"

#include <QIODevice>
#include <QObject>
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

// One walk over the file. The first walk only counts the frames, so that the second can compare
// every header's total with it while it goes.
class SectionWalk
{
public:
    // progress gets the bytes walked plus `before`, for the second of two walks.
    SectionWalk(QIODevice& device, const FindingSink* sink, int framesInFile,
                const CheckProgress& progress = CheckProgress(), qint64 before = 0)
        : m_in(device), m_sink(sink), m_framesInFile(framesInFile), m_progress(progress),
          m_before(before)
    {
        std::fill(m_colours, m_colours + PaletteEntries, DefaultColours);
    }

    int run();

private:
    void report(const char* code, Finding::Severity severity, qint64 offset, int section,
                const QString& text, qint64 bytes = -1)
    {
        if (m_sink)
            (*m_sink)({QLatin1String(code), severity, offset, section, text, bytes, m_frame});
    }
    bool scan();
    bool pointRecords(qint64 at, quint32 format, int count, int projector);

    ByteSource m_in;
    const FindingSink* m_sink;
    const int m_framesInFile;
    const CheckProgress m_progress;
    const qint64 m_before;
    int m_frames = 0;
    int m_frame = -1; // of the section being walked
    int m_section = 0;
    int m_colours[PaletteEntries];
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
        const bool found = scan();
        if (!found && !headerSeen) {
            if (m_in.failed())
                report("read-error", Finding::Error, m_in.pos(), m_section,
                       QObject::tr("the file cannot be read from here on"));
            else
                report("no-header", Finding::Error, 0, m_section,
                       QObject::tr("no \"ILDA\" signature in the file's %1 bytes").arg(m_in.pos()));
            return m_frames;
        }
        const qint64 at = found ? m_in.pos() - 4 : m_in.pos();
        if (at > scanStart)
            report("skipped-bytes", Finding::Warning, scanStart, m_section,
                   QObject::tr("%1 bytes belong to no section").arg(at - scanStart),
                   at - scanStart);
        if (!found) {
            if (m_in.failed())
                report("read-error", Finding::Error, m_in.pos(), m_section,
                       QObject::tr("the file cannot be read from here on"));
            else
                report("missing-end-header", Finding::Warning, m_in.pos(), m_section,
                       QObject::tr("the file ends without an end header (a header of 0 records)"));
            return m_frames;
        }

        const uchar* header = m_in.take(HeaderRest);
        if (!header) {
            report("truncated-header", Finding::Error, at, m_section,
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

        if (reserved != 0)
            report("reserved-nonzero", Finding::Warning, at, m_section,
                   QObject::tr("the reserved last header byte is %1, not 0").arg(reserved));
        if (format > 5 || format == 3) {
            QString text = QObject::tr("unknown format code %1").arg(format);
            if (format > 0xFF)
                text += QObject::tr(" (header bytes 4 to 6 should be 0)");
            report("unknown-format", Finding::Error, at, m_section, text);
            return m_frames;
        }
        if (count == 0) {
            const qint64 after = m_in.pos();
            if (!m_in.atEnd()) {
                const qint64 rest = m_in.skip(std::numeric_limits<qint64>::max() - after);
                report("data-after-end", Finding::Warning, after, m_section,
                       QObject::tr("%1 bytes follow the end header").arg(rest));
            }
            return m_frames;
        }

        const int size = recordSize(format);
        if (format == 2) {
            if (count > PaletteEntries)
                report("palette-size", Finding::Warning, at, m_section,
                       QObject::tr("the palette holds %1 colours; those after the first %2 are "
                                   "ignored")
                           .arg(count)
                           .arg(PaletteEntries));
            if (m_in.skip(qint64(count) * size) != qint64(count) * size) {
                report("truncated-section", Finding::Error, at, m_section,
                       QObject::tr("the section ends after %1 of its %2 records")
                           .arg((m_in.pos() - at - HeaderSize) / size)
                           .arg(count));
                return m_frames;
            }
            m_colours[projector] = std::max(m_colours[projector], std::min(count, 256));
        } else {
            // A frame cut short still counts: its header says what the file was meant to hold.
            const int index = m_frames++;
            m_frame = index;
            if (frameNumber != index)
                report("frame-number", Finding::Warning, at, m_section,
                       QObject::tr("frame number %1, but this is frame %2 counting from 0")
                           .arg(frameNumber)
                           .arg(index));
            if (m_framesInFile >= 0 && totalFrames != m_framesInFile)
                report("total-frames", Finding::Warning, at, m_section,
                       QObject::tr("total frames %1, but the file holds %2")
                           .arg(totalFrames)
                           .arg(m_framesInFile));
            if (!pointRecords(at, format, count, projector)) {
                report("truncated-section", Finding::Error, at, m_section,
                       QObject::tr("the section ends after %1 of its %2 records")
                           .arg((m_in.pos() - at - HeaderSize) / size)
                           .arg(count));
                return m_frames;
            }
            if (count > IldaFrame::MaxPoints)
                report("points-dropped", Finding::Warning,
                       at + HeaderSize + qint64(IldaFrame::MaxPoints) * size, m_section,
                       QObject::tr("%1 records; those after the first %2 are not shown")
                           .arg(count)
                           .arg(IldaFrame::MaxPoints));
        }
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
    if (lastPoint >= 0)
        report("last-point", Finding::Warning, first + qint64(lastPoint) * size, m_section,
               lastPoint == count - 1
                   ? QObject::tr("the frame's last record (%1) lacks the last-point bit")
                         .arg(lastPoint)
                   : QObject::tr("record %1 has the last-point bit, but the frame has %2 records")
                         .arg(lastPoint)
                         .arg(count));
    if (colour >= 0)
        report("color-index", Finding::Warning, first + qint64(colour) * size, m_section,
               QObject::tr("record %1 uses colour %2, but projector %3 has %4 colours")
                   .arg(colour)
                   .arg(index)
                   .arg(projector)
                   .arg(colours));
    return true;
}

} // namespace

namespace IldaCheck {

void run(QIODevice& device, const FindingSink& sink, const CheckProgress& progress)
{
    // Totals need the number of frames first: a pipe, read once, goes without them.
    int frames = -1;
    const qint64 start = device.pos();
    qint64 half = 0;
    if (!device.isSequential()) {
        frames = SectionWalk(device, nullptr, -1, progress).run();
        if (frames < 0 && progress)
            return; // stopped
        device.seek(start);
        half = device.size() / 2;
    }
    SectionWalk(device, &sink, frames, progress, half).run();
}

} // namespace IldaCheck
