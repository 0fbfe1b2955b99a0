// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/IldaViewPerspective.h"

#include "model/IldaPoint.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

// The eye sits 2.5 model ranges from the origin; depth 0 is scaled by 34406.4 / 81920 = 0.42.
constexpr float CameraDistance = 81920.0f;
constexpr float ProjectionScale = 34406.4f;
constexpr float DragDegreesPerPixel = 0.5f;
constexpr float AxisLength = 18.0f;
constexpr double LabelDistance = 1.6;

} // namespace

IldaViewPerspective::IldaViewPerspective()
{
    // A re-created view keeps the current rotation.
    setupTransformMatrix();
}

IldaViewPerspective::~IldaViewPerspective() = default;

QString IldaViewPerspective::getLabel() const
{
    return tr("Perspective");
}

void IldaViewPerspective::applyTransformMatrix(float x, float y, float z, float& outX, float& outY,
                                               float& outZ) const
{
    const float* m = m_transformMatrix;
    outX = m[0] * x + m[1] * y + m[2] * z;
    outY = m[3] * x + m[4] * y + m[5] * z;
    outZ = m[6] * x + m[7] * y + m[8] * z;
}

void IldaViewPerspective::project(const IldaPoint& point, double& x, double& y)
{
    const float* m = m_transformMatrix;
    const float px = float(point.x);
    const float py = float(point.y);
    const float pz = float(-int(point.z));
    const float rx = m[0] * px + m[1] * py + m[2] * pz;
    const float ry = m[3] * px + m[4] * py + m[5] * pz;
    const float rz = m[6] * px + m[7] * py + m[8] * pz;
    // The rotated depth stays within +-56756, so the denominator is always positive.
    const float f = ProjectionScale / (rz + CameraDistance);
    x = double(rx * f);
    y = double(ry * f);
}

void IldaViewPerspective::getXY(const IldaPoint& point, int& x, int& y) const
{
    double px = 0.0;
    double py = 0.0;
    project(point, px, py);
    x = truncated(px * m_zoomFactorPerspective);
    y = truncated(py * m_zoomFactorPerspective);
}

void IldaViewPerspective::applyOffset(int&, int&) const {}

void IldaViewPerspective::drawAxis(QPainter& painter) const
{
    const int b = height() - 36;
    const QSize labelSize = painter.fontMetrics().size(Qt::TextSingleLine, tr("Y"));
    const int hw = labelSize.width() / 2;
    const int hh = labelSize.height() / 2;

    struct Axis
    {
        float vx, vy, vz;
        Qt::GlobalColor color;
        QString label;
    };
    const Axis axes[3] = {{AxisLength, 0.0f, 0.0f, Qt::red, tr("X")},
                          {0.0f, AxisLength, 0.0f, Qt::green, tr("Y")},
                          {0.0f, 0.0f, AxisLength, Qt::blue, tr("Z")}};
    const float* m = m_transformMatrix;
    for (const Axis& axis : axes) {
        // Only the turn shows here: no perspective division and no zoom.
        const float ax = m[0] * axis.vx + m[1] * axis.vy + m[2] * axis.vz;
        const float ay = m[3] * axis.vx + m[4] * axis.vy + m[5] * axis.vz;
        painter.setPen(QColor(axis.color));
        painter.drawLine(36, b, truncated(36.0f + ax), truncated(float(b) - ay));
        painter.drawText(QPoint(truncated(ax * LabelDistance + 36.0 - hw),
                                truncated(b - ay * LabelDistance + hh)),
                         axis.label);
    }
}

void IldaViewPerspective::mouseMoveEvent(QMouseEvent* event)
{
    float dx;
    float dy;
    if (!dragStep(event, dx, dy))
        return;
    // The fine factor is a power of two, so scaling after it gives the same angles.
    Rotate(dx * DragDegreesPerPixel, dy * DragDegreesPerPixel);
    // Only this view depends on the angles.
    update();
}

void IldaViewPerspective::wheelEvent(QWheelEvent* event)
{
    // Always about the view centre: the perspective has no pan to keep a cursor point in place.
    wheelZoom(event, [](double factor) { ZoomPerspective(factor); });
}
