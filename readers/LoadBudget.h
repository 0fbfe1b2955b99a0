// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What one load may hold in frames, points and rows, and what it holds so far. About nine times
// the largest real show (the 98 MB benchmark file holds 118 MB) and, with allocator slack, still
// a few GiB at most.
class LoadBudget
{
public:
    static constexpr qint64 Default = qint64(1) << 30;

    // LUMENAR_MEMORY_BUDGET (bytes) when set, else the default.
    static qint64 fromEnvironment();
    static QString exceededText();

    // A new load: nothing charged, the limit given (a preview's) or else read afresh.
    void start(qint64 limit = 0);
    // Accounts for a frame of `points` new points and its row; false when that passes the
    // budget. A repeated picture shares its points: chargeFrame(0).
    bool chargeFrame(int points);
    bool chargeRow();
    bool charge(qint64 bytes);

private:
    qint64 m_limit = Default;
    qint64 m_charged = 0;
};
