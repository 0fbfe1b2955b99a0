// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/IldaView.h"

#include "model/IldaFrames.h"
#include "views/IldaViewPerspective.h"
#include "views/MacColors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

unsigned int IldaView::m_activeView = IldaView::Front;
bool IldaView::m_decorated = true;
float IldaView::m_offsetX = 0.0f;
float IldaView::m_offsetY = 0.0f;
float IldaView::m_offsetZ = 0.0f;
double IldaView::m_zoomFactor = 1.0;
double IldaView::m_zoomFactorPerspective = 1.0;
float IldaView::m_rotateX = 0.0f;
float IldaView::m_rotateY = 0.0f;
float IldaView::m_transformMatrix[9] = {};
bool IldaView::m_showAxes = false;

namespace {

constexpr double MinZoom = 0.01;
constexpr double MaxZoom = 100.0;
constexpr float FinePan = 0.125f;
constexpr int DragStartDistanceSquared = 25;
constexpr qint64 DragStartDelayMs = 250;
// The picture's square is this much smaller than the view's smaller side.
constexpr int Inset = 5;

const QColor BlankedColor(48, 48, 48);
const QColor AccentFallback(60, 140, 240);

// The legacy aliased rasterisation; deprecated as a named enumerator, not as a behaviour.
constexpr QPainter::RenderHint Qt4CompatiblePainting = QPainter::RenderHint(0x20);

double bounded(double zoom)
{
    if (zoom > MaxZoom)
        zoom = MaxZoom;
    if (zoom < MinZoom)
        zoom = MinZoom;
    return zoom;
}

int saturated(qint64 value)
{
    return int(
        qBound<qint64>(std::numeric_limits<int>::min(), value, std::numeric_limits<int>::max()));
}

void setIdentity(float* m)
{
    for (int i = 0; i < 9; ++i)
        m[i] = (i % 4 == 0) ? 1.0f : 0.0f;
}

} // namespace

IldaView::IldaView() : QWidget(nullptr) {}

IldaView::~IldaView() = default;

void IldaView::Reset(bool all)
{
    if (all || m_activeView < Perspective) {
        m_zoomFactor = 1.0;
        m_offsetX = m_offsetY = m_offsetZ = 0.0f;
    }
    if (all || m_activeView == Perspective) {
        m_zoomFactorPerspective = 1.0;
        m_rotateX = m_rotateY = 0.0f;
        setIdentity(m_transformMatrix);
    }
}

void IldaView::ZoomIn()
{
    if (m_activeView <= Top)
        Zoom(ZoomStep, 0, 0, 0);
    else if (m_activeView == Perspective)
        ZoomPerspective(ZoomStep);
}

void IldaView::ZoomOut()
{
    if (m_activeView <= Top)
        Zoom(ZoomStepBack, 0, 0, 0);
    else if (m_activeView == Perspective)
        ZoomPerspective(ZoomStepBack);
}

void IldaView::Zoom(double factor, int x, int y, int z)
{
    // The factor is cut so that the zoom lands on its limit and the offsets scale alike.
    double f = factor;
    if (factor < 1.0 && m_zoomFactor * factor < MinZoom)
        f = MinZoom / m_zoomFactor;
    if (factor >= 1.0 && m_zoomFactor * factor > MaxZoom)
        f = MaxZoom / m_zoomFactor;

    auto scaled = [f](float offset, int centre) {
        const float difference = offset - float(centre);
        return float(double(centre) + double(difference) * f);
    };
    m_offsetX = scaled(m_offsetX, x);
    m_offsetY = scaled(m_offsetY, y);
    m_offsetZ = scaled(m_offsetZ, z);
    m_zoomFactor = bounded(m_zoomFactor * f);
}

void IldaView::ZoomPerspective(double factor)
{
    m_zoomFactorPerspective = bounded(m_zoomFactorPerspective * factor);
}

void IldaView::Move(float dx, float dy)
{
    switch (m_activeView) {
    case Front:
        m_offsetX += dx;
        m_offsetY += dy;
        break;
    case Side:
        m_offsetZ += dx;
        m_offsetY += dy;
        break;
    case Top:
        m_offsetX += dx;
        m_offsetZ -= dy;
        break;
    default:
        break;
    }
}

void IldaView::MoveOrRotate(float dx, float dy)
{
    if (m_activeView <= Top)
        Move(dx, dy);
    else if (m_activeView == Perspective)
        Rotate(dx, dy);
}

void IldaView::Rotate(float dx, float dy)
{
    if (m_activeView != Perspective)
        return;
    // The remainder keeps the sign of the angle: angles stay inside (-360, 360).
    m_rotateX = std::fmod(m_rotateX - dy, 360.0f);
    m_rotateY = std::fmod(m_rotateY - dx, 360.0f);
    setupTransformMatrix();
}

void IldaView::setupTransformMatrix()
{
    const float a = m_rotateX * 0.017453292f;
    const float b = m_rotateY * 0.017453292f;
    const float sa = std::sin(a);
    const float ca = std::cos(a);
    const float sb = std::sin(b);
    const float cb = std::cos(b);
    // Rx(a) * Ry(b): turn about Y first, then about X.
    float* m = m_transformMatrix;
    m[0] = cb;
    m[1] = 0.0f;
    m[2] = sb;
    m[3] = sa * sb;
    m[4] = ca;
    m[5] = -sa * cb;
    m[6] = -ca * sb;
    m[7] = sa;
    m[8] = ca * cb;
}

void IldaView::ZoomToFit(const IldaFrame& frame, int viewSize)
{
    const int n = frame.getNumberOfPoints();
    if (n == 0) {
        Reset(true);
        return;
    }
    int low[3] = {32767, 32767, 32767};
    int high[3] = {-32768, -32768, -32768};
    double reach = 0.0; // the perspective has no pan: it fits about the origin
    for (int i = 0; i < n; ++i) {
        const IldaPoint p = frame.getPoint(i);
        const int xyz[3] = {p.x, p.y, p.z};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = std::min(low[axis], xyz[axis]);
            high[axis] = std::max(high[axis], xyz[axis]);
        }
        double px = 0.0;
        double py = 0.0;
        IldaViewPerspective::project(p, px, py);
        reach = std::max({reach, std::abs(px), std::abs(py)});
    }
    const int extent = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    // The views map 65536 units onto the view's side at zoom 1.
    m_zoomFactor = bounded(extent > 0 ? FitFill * 65536.0 / extent : MaxZoom);
    const double pixels = m_zoomFactor * (viewSize - Inset) / 65536.0;
    m_offsetX = float(-(low[0] + high[0]) / 2.0 * pixels);
    m_offsetY = float((low[1] + high[1]) / 2.0 * pixels);
    m_offsetZ = float((low[2] + high[2]) / 2.0 * pixels);
    m_zoomFactorPerspective = bounded(reach > 0.0 ? FitFill * 32768.0 / reach : MaxZoom);
}

void IldaView::drawPoint(QPainter& painter, const QColor& color, int x, int y) const
{
    painter.setPen(color);
    // A far-out position sits at the int limits; one step further must not overflow.
    const int left = saturated(qint64(x) - 1);
    const int right = saturated(qint64(x) + 1);
    const int top = saturated(qint64(y) - 1);
    const int bottom = saturated(qint64(y) + 1);
    const QPoint outline[5] = {QPoint(left, top), QPoint(right, top), QPoint(right, bottom),
                               QPoint(left, bottom), QPoint(left, top)};
    painter.drawPolyline(outline, 5);
}

void IldaView::mousePressEvent(QMouseEvent* event)
{
    m_lastMousePos = event->pos();
    m_mousePressed = true;
    m_pressTimer.start();
    m_dragStarted = false;

    const int index = getViewIndex();
    if (static_cast<unsigned int>(index) != m_activeView) {
        m_activeView = static_cast<unsigned int>(index);
        updateParent();
        emit activeViewChanged();
    }
}

void IldaView::mouseReleaseEvent(QMouseEvent*)
{
    m_mousePressed = false;
    m_dragStarted = false;
}

void IldaView::mouseDoubleClickEvent(QMouseEvent*)
{
    // Not a press: a drag that follows the second click must not pan. The first press has
    // made this view the active one, so its kind of state is reset.
    Reset(false);
    updateParent();
}

void IldaView::mouseMoveEvent(QMouseEvent* event)
{
    float dx;
    float dy;
    if (!dragStep(event, dx, dy))
        return;
    Move(dx, dy);
    updateParent();
}

bool IldaView::dragStep(const QMouseEvent* event, float& dx, float& dy)
{
    if (!m_mousePressed)
        return false;
    const QPoint p = event->pos();
    dx = float(p.x() - m_lastMousePos.x());
    dy = float(p.y() - m_lastMousePos.y());
    // A click that wobbles a little must not pan; holding still for a moment also starts a
    // drag. Until then the press point stays, so the first step carries the whole motion.
    if (!m_dragStarted && (dx * dx + dy * dy >= DragStartDistanceSquared ||
                           m_pressTimer.elapsed() >= DragStartDelayMs))
        m_dragStarted = true;
    if (!m_dragStarted)
        return false;

    m_lastMousePos = p;
    if ((event->modifiers() & Qt::AltModifier) || (event->buttons() & Qt::MiddleButton)) {
        dx *= FinePan;
        dy *= FinePan;
    }
    return true;
}

void IldaView::updateParent()
{
    if (QWidget* parent = parentWidget())
        parent->update();
    else
        update();
}

int IldaView::wheelDelta(const QWheelEvent* event)
{
    // The dominant orientation; a tie counts as vertical.
    const QPoint angle = event->angleDelta();
    return qAbs(angle.x()) > qAbs(angle.y()) ? angle.x() : angle.y();
}

QPoint IldaView::wheelOffsetFromCentre(const QWheelEvent* event) const
{
    const QPointF position = event->position();
    return QPoint(truncated(position.x()) - width() / 2, truncated(position.y()) - height() / 2);
}

void IldaView::wheelZoom(QWheelEvent* event, const std::function<void(double)>& zoom)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    const int delta = wheelDelta(event);
    if (delta > 0)
        zoom(ZoomStep);
    else if (delta < 0)
        zoom(ZoomStepBack);
    updateParent();
    event->accept();
}

void IldaView::drawAxisCross(QPainter& painter, const QColor& horizontal,
                             const QString& horizontalLabel, const QColor& vertical,
                             const QString& verticalLabel) const
{
    const int h = height();
    const int b = h - 36;
    painter.setPen(horizontal);
    painter.drawLine(36, b, 54, b);
    painter.drawText(QPointF(63.0, b), horizontalLabel);
    painter.setPen(vertical);
    painter.drawLine(36, b, 36, h - 54);
    painter.drawText(QPointF(36.0, b - 27), verticalLabel);
}

void IldaView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(Qt4CompatiblePainting);

    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, h, Qt::black);

    if (m_decorated) {
        painter.setPen(QColor(Qt::darkGray));
        painter.drawText(QPointF(6.0, 15.0), getLabel());
    }

    const int s = qMin(w, h);
    const int mx = (w - s) / 2 + 2;
    const int my = (h - s) / 2 + 2;
    const qint64 S = s - Inset;

    const IldaFrame frame = m_frameIndex < 0 ? globalIldaFrames.getCurrentFrame()
                                             : globalIldaFrames.getFrame(m_frameIndex);
    const int n = frame.getNumberOfPoints();
    if (n >= 1) {
        // View y points up, screen y down; the 64-bit products keep large zooms exact.
        auto screen = [&](const IldaPoint& point, int& sx, int& sy) {
            int x = 0;
            int y = 0;
            getXY(point, x, y);
            sx = saturated(((qint64(x) + 32768) * S + 32768) / 65536 + mx);
            sy = saturated(((32768 - qint64(y)) * S + 32768) / 65536 + my);
            applyOffset(sx, sy);
        };
        const bool showBlanked = globalIldaFrames.getShowBlankedLines();

        // Blanked moves first, lit lines over them; a line takes its end point's blanking and
        // colour, point 0 only starts the first line.
        auto drawLines = [&](bool blanked) {
            int px = 0;
            int py = 0;
            for (int i = 0; i < n; ++i) {
                const IldaPoint point = frame.getPoint(i);
                int sx;
                int sy;
                screen(point, sx, sy);
                if (i > 0 && point.blanked == blanked) {
                    painter.setPen(blanked ? BlankedColor
                                           : QColor(point.red, point.green, point.blue));
                    painter.drawLine(px, py, sx, sy);
                }
                px = sx;
                py = sy;
            }
        };
        if (showBlanked)
            drawLines(true);
        drawLines(false);

        if (globalIldaFrames.getShowDots()) {
            if (showBlanked) {
                for (int i = 0; i < n; ++i) {
                    const IldaPoint point = frame.getPoint(i);
                    if (!point.blanked || (i + 1 < n && !frame.getPoint(i + 1).blanked))
                        continue;
                    int sx;
                    int sy;
                    screen(point, sx, sy);
                    drawPoint(painter, BlankedColor, sx, sy);
                }
            }
            for (int i = 0; i < n; ++i) {
                const IldaPoint point = frame.getPoint(i);
                int sx;
                int sy;
                if (!point.blanked) {
                    screen(point, sx, sy);
                    drawPoint(painter, QColor(point.red, point.green, point.blue), sx, sy);
                } else if (i + 1 < n) {
                    // Marks where the next lit line starts, in that line's colour.
                    const IldaPoint next = frame.getPoint(i + 1);
                    if (!next.blanked) {
                        screen(point, sx, sy);
                        drawPoint(painter, QColor(next.red, next.green, next.blue), sx, sy);
                    }
                }
            }
        }
    }

    if (!m_decorated)
        return;
    if (m_showAxes)
        drawAxis(painter);
    const bool active = static_cast<unsigned int>(getViewIndex()) == m_activeView;
    painter.setPen(active ? MacColors::accentColor(AccentFallback)
                          : palette().color(QPalette::Window).darker(125));
    painter.drawRect(0, 0, w - 1, h - 1);
    painter.drawRect(1, 1, w - 3, h - 3);
}
