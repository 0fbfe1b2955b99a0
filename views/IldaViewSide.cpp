// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/IldaViewSide.h"

#include "model/IldaPoint.h"

#include <QPainter>
#include <QWheelEvent>

IldaViewSide::IldaViewSide() = default;

IldaViewSide::~IldaViewSide() = default;

QString IldaViewSide::getLabel() const
{
    return tr("Side");
}

void IldaViewSide::getXY(const IldaPoint& point, int& x, int& y) const
{
    x = truncated(double(-int(point.z)) * m_zoomFactor);
    y = truncated(double(point.y) * m_zoomFactor);
}

void IldaViewSide::applyOffset(int& x, int& y) const
{
    x = truncated(float(x) + m_offsetZ);
    y = truncated(float(y) + m_offsetY);
}

void IldaViewSide::drawAxis(QPainter& painter) const
{
    drawAxisCross(painter, QColor(Qt::blue), tr("Z"), QColor(Qt::green), tr("Y"));
}

void IldaViewSide::wheelEvent(QWheelEvent* event)
{
    // Zooming about the cursor keeps the picture point under it in place.
    const QPoint c = wheelOffsetFromCentre(event);
    wheelZoom(event, [&](double factor) { Zoom(factor, 0, c.y(), c.x()); });
}
