// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class IldaFrame;

// What one frame holds, in numbers: points, lit and blanked, the bounding box over all points
// and the distinct colours of the lit points.
struct FrameStats
{
    int points = 0;
    int lit = 0;
    int blanked = 0;
    qint16 min[3] = {0, 0, 0}; // x, y, z; meaningless without points
    qint16 max[3] = {0, 0, 0};
    int colors = 0;

    static FrameStats of(const IldaFrame& frame);
};
