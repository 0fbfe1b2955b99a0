// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/FrameStats.h"

#include "model/IldaFrame.h"

#include <QVector>

#include <algorithm>

FrameStats FrameStats::of(const IldaFrame& frame)
{
    FrameStats stats;
    stats.points = frame.getNumberOfPoints();
    QVector<quint32> colors;
    colors.reserve(stats.points);
    for (int i = 0; i < stats.points; ++i) {
        const IldaPoint p = frame.getPoint(i);
        const qint16 xyz[3] = {p.x, p.y, p.z};
        for (int axis = 0; axis < 3; ++axis) {
            stats.min[axis] = i == 0 ? xyz[axis] : std::min(stats.min[axis], xyz[axis]);
            stats.max[axis] = i == 0 ? xyz[axis] : std::max(stats.max[axis], xyz[axis]);
        }
        if (p.blanked) {
            ++stats.blanked;
        } else {
            ++stats.lit;
            colors << (quint32(p.red) << 16 | quint32(p.green) << 8 | p.blue);
        }
    }
    std::sort(colors.begin(), colors.end());
    stats.colors = int(std::unique(colors.begin(), colors.end()) - colors.begin());
    return stats;
}
