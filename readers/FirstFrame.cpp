// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/IldaFrames.h"

QString IldaFrames::loadFirstFrame(const QString& fileName, InfoWindow& info, qint64 budget,
                                   qint64 maxRead)
{
    // Every reader asks keepLoading() before each further section, picture or entry, and while
    // it scans or skips: there the frame limit stops it and the progress check bounds the bytes.
    m_frameLimit = 1;
    m_budgetLimit = budget;
    const QString message =
        loadFile(fileName, info, [maxRead](qint64 bytesRead) { return bytesRead <= maxRead; });
    m_frameLimit = 0;
    m_budgetLimit = 0;
    return message;
}
