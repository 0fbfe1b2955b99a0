// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/IldaViewFront.h"

#include "model/IldaPoint.h"

#include <QPainter>
#include <QWheelEvent>

IldaViewFront::IldaViewFront() = default;

IldaViewFront::~IldaViewFront() = default;

QString IldaViewFront::getLabel() const
{
    return tr("Front");
}

void IldaViewFront::getXY(const IldaPoint& point, int& x, int& y) const
{
    x = truncated(double(point.x) * m_zoomFactor);
    y = truncated(double(point.y) * m_zoomFactor);
}

void IldaViewFront::applyOffset(int& x, int& y) const
{
    x = truncated(float(x) + m_offsetX);
    y = truncated(float(y) + m_offsetY);
}

void IldaViewFront::drawAxis(QPainter& painter) const
{
    drawAxisCross(painter, QColor(Qt::red), tr("X"), QColor(Qt::green), tr("Y"));
}

void IldaViewFront::wheelEvent(QWheelEvent* event)
{
    // Zooming about the cursor keeps the picture point under it in place.
    const QPoint c = wheelOffsetFromCentre(event);
    wheelZoom(event, [&](double factor) { Zoom(factor, c.x(), c.y(), 0); });
}
