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
    const int h = height();
    const int b = h - 36;
    painter.setPen(QColor(Qt::blue));
    painter.drawLine(36, b, 54, b);
    painter.drawText(QPointF(63.0, b), tr("Z"));
    painter.setPen(QColor(Qt::green));
    painter.drawLine(36, b, 36, h - 54);
    painter.drawText(QPointF(36.0, b - 27), tr("Y"));
}

void IldaViewSide::wheelEvent(QWheelEvent* event)
{
    // Without Control the wheel belongs to the window, which steps through the frames.
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    const QPoint position = wheelPosition(event);
    const int px = position.x();
    const int py = position.y();
    const int cx = px - width() / 2;
    const int cy = py - height() / 2;
    // Zooming about the cursor keeps the picture point under it in place.
    const int delta = wheelDelta(event);
    if (delta > 0)
        Zoom(ZoomStep, 0, cy, cx);
    else if (delta < 0)
        Zoom(ZoomStepBack, 0, cy, cx);
    updateParent();
    event->accept();
}
