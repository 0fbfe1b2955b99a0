// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>

#include <functional>

#include <cmath>
#include <limits>

struct IldaPoint;
class IldaFrame;
class QColor;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QWheelEvent;

// Base of the four view widgets. Pan, zoom, rotation and the active view are class-wide, so
// every view agrees on them and they outlive the widgets, which are re-created on layout changes.
class IldaView : public QWidget
{
    Q_OBJECT

public:
    // View indices; any other value of m_activeView names no view.
    enum { Front = 0, Side = 1, Top = 2, Perspective = 3 };

    // One wheel or menu zoom step, and its inverse.
    static constexpr double ZoomStep = 1.41;
    static constexpr double ZoomStepBack = 0.7092198581560284;

    IldaView();
    ~IldaView() override;

    static unsigned int m_activeView;
    static float m_offsetX;
    static float m_offsetY;
    static float m_offsetZ;
    static double m_zoomFactor;
    static double m_zoomFactorPerspective;
    static float m_rotateX;
    static float m_rotateY;
    // Row-major 3x3 rotation, applied to column vectors.
    static float m_transformMatrix[9];
    // Every view draws its axis indicator.
    static bool m_showAxes;
    // The share of a view that a fitted frame fills: the rest is margin.
    static constexpr double FitFill = 0.9;
    // False draws the frame alone, without the view's label and border (thumbnails).
    static bool m_decorated;

    static void Reset(bool all);
    static void ZoomIn();
    static void ZoomOut();
    static void Zoom(double factor, int x, int y, int z);
    static void ZoomPerspective(double factor);
    static void Move(float dx, float dy);
    static void MoveOrRotate(float dx, float dy);
    static void Rotate(float dx, float dy);
    static void setupTransformMatrix();
    // Zoom and pan (and the perspective's zoom, at its rotation) so that frame's points fill
    // views of viewSize pixels (the smaller side); an empty frame resets everything.
    static void ZoomToFit(const IldaFrame& frame, int viewSize);

    virtual QString getLabel() const = 0;
    // Zoomed view position, origin at the centre, y up.
    virtual void getXY(const IldaPoint& point, int& x, int& y) const = 0;
    // Adds the view's pan to a screen position.
    virtual void applyOffset(int& x, int& y) const = 0;
    virtual void drawAxis(QPainter& painter) const = 0;
    virtual int getViewIndex() const = 0;

    void drawPoint(QPainter& painter, const QColor& color, int x, int y) const;

    // The frame this view paints, read from the store by index; -1 (the window's views) follows
    // the store's current frame.
    void setFrameIndex(int index) { m_frameIndex = index; }

    // What the deprecated QWheelEvent::delta() returned: the dominant orientation's delta.
    static int wheelDelta(const QWheelEvent* event);

signals:
    void activeViewChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // One step of a drag, shared by panning and rotating: false until the drag has passed its
    // start threshold; then the motion since the last step, fine with Alt or the middle button.
    bool dragStep(const QMouseEvent* event, float& dx, float& dy);
    // Other views show the same state, so they all redraw through the common parent.
    void updateParent();

    // Control + wheel zooms one step through `zoom`; without Control the event goes on to the
    // window, which steps through the frames.
    void wheelZoom(QWheelEvent* event, const std::function<void(double)>& zoom);
    // The cursor relative to the widget centre along the screen axes, as the deprecated
    // QWheelEvent::x() and y() gave it: truncated toward zero.
    QPoint wheelOffsetFromCentre(const QWheelEvent* event) const;
    // The orthographic views' axis indicator: a horizontal and a vertical stroke, labelled.
    void drawAxisCross(QPainter& painter, const QColor& horizontal, const QString& horizontalLabel,
                       const QColor& vertical, const QString& verticalLabel) const;
    // Truncation toward zero, saturated so that far-out values never overflow an int.
    // Inline: every projected point goes through it twice.
    static int truncated(double value)
    {
        if (std::isnan(value))
            return 0;
        if (value <= double(std::numeric_limits<int>::min()))
            return std::numeric_limits<int>::min();
        if (value >= double(std::numeric_limits<int>::max()))
            return std::numeric_limits<int>::max();
        return int(value);
    }

    bool m_mousePressed = false;
    QElapsedTimer m_pressTimer;
    bool m_dragStarted = false;
    QPoint m_lastMousePos;
    int m_frameIndex = -1;
};
