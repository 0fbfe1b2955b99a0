// SPDX-License-Identifier: GPL-3.0-or-later
#include "readers/LoadBudget.h"

#include "info/InfoModel.h"
#include "model/IldaFrame.h"

#include <QObject>

namespace {

// Allocation header of a point list, and the frame-to-row bookkeeping of the information window.
constexpr qint64 ListOverhead = 24;
constexpr qint64 RowOverhead = sizeof(InfoModel::Row) + 2 * sizeof(int);

} // namespace

qint64 LoadBudget::fromEnvironment()
{
    bool ok = false;
    const qint64 budget = qEnvironmentVariable("LUMENAR_MEMORY_BUDGET").toLongLong(&ok);
    return ok && budget > 0 ? budget : Default;
}

QString LoadBudget::exceededText()
{
    return QObject::tr("Not enough memory to show this file!");
}

void LoadBudget::start(qint64 limit)
{
    m_limit = limit > 0 ? limit : fromEnvironment();
    m_charged = 0;
}

bool LoadBudget::charge(qint64 bytes)
{
    if (bytes > m_limit - m_charged)
        return false;
    m_charged += bytes;
    return true;
}

bool LoadBudget::chargeFrame(int points)
{
    const qint64 kept = qBound(0, points, int(IldaFrame::MaxPoints));
    return charge(qint64(sizeof(IldaFrame)) + RowOverhead +
                  (kept > 0 ? ListOverhead + kept * qint64(sizeof(IldaPoint)) : 0));
}

bool LoadBudget::chargeRow()
{
    return charge(RowOverhead);
}
