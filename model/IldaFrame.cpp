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

void IldaFrame::reservePoints(int count)
{
    m_points.reserve(std::min(count, MaxPoints));
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
