// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVector>

#include <cstdint>

class IldaFrame;

// One point as it leaves for a DAC: coordinates after scale and flips, 8-bit colours that are
// all zero when the point is blanked. Each protocol widens the colours as it needs.
struct LaserSample
{
    int16_t x = 0;
    int16_t y = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool blanked = true;
};

struct MapOptions
{
    int scalePercent = 100;
    bool flipX = false;
    bool flipY = false;
};

// The one mapping from a frame to what a DAC receives, shared by every protocol and front end.
class PointMapper
{
public:
    // Lit points within this many units in x and in y make a still beam (1 % of the range).
    static constexpr int StillBeamSpan = 655;

    // The frame's points in file order; an empty frame gives one blanked point at the centre.
    // A still beam comes back blanked, with the reason in `reason` (else it is cleared).
    static QVector<LaserSample> mapFrame(const IldaFrame& frame, const MapOptions& options,
                                         QString* reason = nullptr);
    static int16_t scale(int value, int percent);
    static LaserSample blankedAt(int x, int y);
    static QString stillBeamText();
};
