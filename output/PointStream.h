// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IldaFrame.h"
#include "output/PointMapper.h"

#include <functional>

// The points a DAC receives, in order: a dark move from the centre to the first point, then
// whole scans of the frames a supplier hands out, one scan at a time, and at the end a blanked
// tail at the last position. Protocol clients only pull from it.
class PointStream
{
public:
    // Asked at every scan boundary for the frame to scan next; `position` counts the points
    // taken so far, so that a schedule can be kept in points rather than in wall time.
    using Supplier = std::function<IldaFrame(qint64 position)>;
    static constexpr int DarkMovePoints = 8;
    static constexpr int BlackoutPoints = 8;

    void setOptions(const MapOptions& options) { m_options = options; }
    const MapOptions& options() const { return m_options; }
    void setSupplier(const Supplier& supplier) { m_supplier = supplier; }
    // Called with the still-beam reason whenever it changes (empty when it clears).
    void setSafetyCallback(const std::function<void(const QString&)>& callback)
    {
        m_safety = callback;
    }

    // Appends `count` points to `out`.
    void take(int count, QVector<LaserSample>& out);
    // Blanked points at the last position sent: what every ending sends first.
    QVector<LaserSample> blackout() const;
    qint64 position() const { return m_position; }
    LaserSample last() const { return m_last; }

private:
    void nextScan();

    MapOptions m_options;
    Supplier m_supplier;
    std::function<void(const QString&)> m_safety;
    QVector<LaserSample> m_scan;
    int m_index = 0;
    bool m_started = false;
    qint64 m_position = 0;
    LaserSample m_last;
    QString m_reason;
};
