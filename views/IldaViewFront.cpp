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
    const int h = height();
    const int b = h - 36;
    painter.setPen(QColor(Qt::red));
    painter.drawLine(36, b, 54, b);
    painter.drawText(QPointF(63.0, b), tr("X"));
    painter.setPen(QColor(Qt::green));
    painter.drawLine(36, b, 36, h - 54);
    painter.drawText(QPointF(36.0, b - 27), tr("Y"));
}

void IldaViewFront::wheelEvent(QWheelEvent* event)
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
        Zoom(ZoomStep, cx, cy, 0);
    else if (delta < 0)
        Zoom(ZoomStepBack, cx, cy, 0);
    updateParent();
    event->accept();
}
