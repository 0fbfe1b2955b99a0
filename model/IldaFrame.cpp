// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/IldaFrame.h"

#include <algorithm>

IldaFrame::IldaFrame(const QString& name, const QString& company, int frameNumber, int totalFrames)
    : m_name(name), m_company(company), m_frameNumber(frameNumber), m_totalFrames(totalFrames)
{
}

IldaFrame::~IldaFrame() = default;

void IldaFrame::appendPoint(const IldaPoint& point)
{
    if (m_points.size() >= MaxPoints)
        return;
    m_points.append(point);
}

IldaPoint* IldaFrame::appendPoints(int& count)
{
    const int first = m_points.size();
    count = std::max(0, std::min(count, MaxPoints - first));
    // reserve() allocates exactly; resize() alone would round up to twice a large frame.
    m_points.reserve(first + count);
    m_points.resize(first + count);
    return m_points.data() + first;
}

IldaPoint IldaFrame::getPoint(int index) const
{
    if (index < 0 || index >= m_points.size()) {
        IldaPoint outside;
        outside.blanked = true;
        return outside;
    }
    return m_points.at(index);
}
