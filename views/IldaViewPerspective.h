// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/IldaView.h"

// Central perspective of the frame turned by the shared angles; a drag rotates instead of panning.
class IldaViewPerspective : public IldaView
{
    Q_OBJECT // its own translation context for the label and axis names

        public : IldaViewPerspective();
    ~IldaViewPerspective() override;

    QString getLabel() const override;
    void getXY(const IldaPoint& point, int& x, int& y) const override;
    void applyOffset(int& x, int& y) const override;
    void drawAxis(QPainter& painter) const override;
    int getViewIndex() const override { return Perspective; }

    // The point turned by the shared rotation and projected, before zoom; y up.
    static void project(const IldaPoint& point, double& x, double& y);

    void applyTransformMatrix(float x, float y, float z, float& outX, float& outY,
                              float& outZ) const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};
