// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/PointMapper.h"

#include "model/IldaFrame.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

int16_t PointMapper::scale(int value, int percent)
{
    // Half away from zero, so that the picture shrinks symmetrically about the centre.
    const long scaled = std::lround(double(value) * percent / 100.0);
    return int16_t(std::clamp<long>(scaled, -32768, 32767));
}

LaserSample PointMapper::blankedAt(int x, int y)
{
    LaserSample sample;
    sample.x = int16_t(x);
    sample.y = int16_t(y);
    return sample;
}

QString PointMapper::stillBeamText()
{
    return QCoreApplication::translate(
        "PointMapper", "Laser output blanked: the frame is a still beam (its lit points lie "
                       "within 1% of the range)");
}

QVector<LaserSample> PointMapper::mapFrame(const IldaFrame& frame, const MapOptions& options,
                                           QString* reason)
{
    if (reason)
        reason->clear();
    const int count = frame.getNumberOfPoints();
    if (count == 0)
        return {blankedAt(0, 0)};

    // -32768 has no mirror in 16 bits; it flips to 32767.
    auto flip = [](int16_t v) { return int16_t(std::min(32767, -int(v))); };
    QVector<LaserSample> samples(count);
    int minX = 32767, maxX = -32768, minY = 32767, maxY = -32768;
    bool anyLit = false;
    for (int i = 0; i < count; ++i) {
        const IldaPoint p = frame.getPoint(i);
        LaserSample& s = samples[i];
        s.x = scale(p.x, options.scalePercent);
        s.y = scale(p.y, options.scalePercent);
        if (options.flipX)
            s.x = flip(s.x);
        if (options.flipY)
            s.y = flip(s.y);
        s.blanked = p.blanked || (p.red | p.green | p.blue) == 0;
        if (s.blanked)
            continue;
        s.red = p.red;
        s.green = p.green;
        s.blue = p.blue;
        anyLit = true;
        minX = std::min(minX, int(s.x));
        maxX = std::max(maxX, int(s.x));
        minY = std::min(minY, int(s.y));
        maxY = std::max(maxY, int(s.y));
    }
    if (anyLit && maxX - minX <= StillBeamSpan && maxY - minY <= StillBeamSpan) {
        for (LaserSample& s : samples)
            s = blankedAt(s.x, s.y);
        if (reason)
            *reason = stillBeamText();
    }
    return samples;
}
