// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class IldaFrame;

// The status bar's line about the current frame.
namespace FrameFacts {

// "NAME  540 points, 412 lit  18 ms at 30,000 pps", or "all 600 points blanked" in place of
// the counts; numbers in the default locale. The time is left out without a scan rate.
QString text(const QString& name, const IldaFrame& frame, int pointsPerSecond);

} // namespace FrameFacts
