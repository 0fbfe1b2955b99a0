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
    const int h = height();
    const int b = h - 36;
    painter.setPen(QColor(Qt::red));
    painter.drawLine(36, b, 54, b);
    painter.drawText(QPointF(63.0, b), tr("X"));
    painter.setPen(QColor(Qt::blue));
    painter.drawLine(36, b, 36, h - 54);
    painter.drawText(QPointF(36.0, b - 27), tr("Z"));
}

void IldaViewTop::wheelEvent(QWheelEvent* event)
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
    const int cz = height() / 2 - py;
    // Zooming about the cursor keeps the picture point under it in place.
    const int delta = wheelDelta(event);
    if (delta > 0)
        Zoom(ZoomStep, cx, 0, cz);
    else if (delta < 0)
        Zoom(ZoomStepBack, cx, 0, cz);
    updateParent();
    event->accept();
}
