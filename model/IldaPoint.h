// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// One laser point. Its blanking and colour describe the beam on the way from the previous point.
struct IldaPoint
{
    int16_t x = 0;
    int16_t y = 0;
    int16_t z = 0;
    bool blanked = false;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};
