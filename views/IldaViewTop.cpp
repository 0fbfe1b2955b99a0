// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/IldaViewTop.h"

#include "model/IldaPoint.h"

#include <QPainter>
#include <QWheelEvent>

IldaViewTop::IldaViewTop() = default;

IldaViewTop::~IldaViewTop() = default;

QString IldaViewTop::getLabel() const
{
    return tr("Top");
}

void IldaViewTop::getXY(const IldaPoint& point, int& x, int& y) const
{
    x = truncated(double(point.x) * m_zoomFactor);
    y = truncated(double(-int(point.z)) * m_zoomFactor);
}

void IldaViewTop::applyOffset(int& x, int& y) const
{
    x = truncated(float(x) + m_offsetX);
    y = truncated(float(y) - m_offsetZ);
}

void IldaViewTop::drawAxis(QPainter& painter) const
{
    drawAxisCross(painter, QColor(Qt::red), tr("X"), QColor(Qt::blue), tr("Z"));
}

void IldaViewTop::wheelEvent(QWheelEvent* event)
{
    // Zooming about the cursor keeps the picture point under it in place.
    const QPoint c = wheelOffsetFromCentre(event);
    wheelZoom(event, [&](double factor) { Zoom(factor, c.x(), 0, -c.y()); });
}
