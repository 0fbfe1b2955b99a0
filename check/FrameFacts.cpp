// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/FrameFacts.h"

#include "model/IldaFrame.h"

#include <QCoreApplication>

namespace FrameFacts {

QString text(const QString& name, const IldaFrame& frame, int pointsPerSecond)
{
    // Shown for every frame that playback shows: a count, not FrameStats' colours.
    struct
    {
        int points = 0;
        int lit = 0;
    } stats;
    stats.points = frame.getNumberOfPoints();
    for (int i = 0; i < stats.points; ++i)
        stats.lit += frame.getPoint(i).blanked ? 0 : 1;
    auto tr = [](const char* text) { return QCoreApplication::translate("FrameFacts", text); };
    QString counts;
    if (stats.points == 0)
        counts = tr("no points");
    else if (stats.points == 1)
        counts = stats.lit == 0 ? tr("1 point, blanked") : tr("1 point, lit");
    else if (stats.lit == 0)
        counts = tr("all %L1 points blanked").arg(stats.points);
    else
        counts = tr("%L1 points, %L2 lit").arg(stats.points).arg(stats.lit);
    QString line = name.isEmpty() ? counts : name + QStringLiteral("  ") + counts;
    if (pointsPerSecond > 0 && stats.points > 0) {
        // Short scans get a decimal: 0.4 ms says more than 0 ms.
        const double ms = stats.points * 1000.0 / pointsPerSecond;
        line += QStringLiteral("  ") +
                tr("%L1 ms at %L2 pps").arg(ms, 0, 'f', ms < 10.0 ? 1 : 0).arg(pointsPerSecond);
    }
    return line;
}

} // namespace FrameFacts
