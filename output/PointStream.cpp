// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/PointStream.h"

void PointStream::nextScan()
{
    const IldaFrame frame = m_supplier ? m_supplier(m_position) : IldaFrame();
    QString reason;
    QVector<LaserSample> scan = PointMapper::mapFrame(frame, m_options, &reason);
    if (reason != m_reason) {
        m_reason = reason;
        if (m_safety)
            m_safety(reason);
    }
    if (!m_started) {
        // The beam is assumed at the centre; it moves dark to where the first scan begins.
        m_started = true;
        const LaserSample first = scan.first();
        QVector<LaserSample> move;
        for (int i = 1; i <= DarkMovePoints; ++i)
            move << PointMapper::blankedAt(
                int(m_last.x) + (first.x - m_last.x) * i / DarkMovePoints,
                int(m_last.y) + (first.y - m_last.y) * i / DarkMovePoints);
        scan = move + scan;
    }
    m_scan = scan;
    m_index = 0;
}

void PointStream::take(int count, QVector<LaserSample>& out)
{
    out.reserve(out.size() + count);
    for (int i = 0; i < count; ++i) {
        if (m_index >= m_scan.size())
            nextScan();
        m_last = m_scan.at(m_index++);
        out << m_last;
        ++m_position;
    }
}

QVector<LaserSample> PointStream::blackout() const
{
    return QVector<LaserSample>(BlackoutPoints, PointMapper::blankedAt(m_last.x, m_last.y));
}
