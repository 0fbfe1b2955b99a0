// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/IldaView.h"

// Looks along the model Z axis: x to the right, y up.
class IldaViewFront : public IldaView
{
    Q_OBJECT // its own translation context for the label and axis names

        public : IldaViewFront();
    ~IldaViewFront() override;

    QString getLabel() const override;
    void getXY(const IldaPoint& point, int& x, int& y) const override;
    void applyOffset(int& x, int& y) const override;
    void drawAxis(QPainter& painter) const override;
    int getViewIndex() const override { return Front; }

protected:
    void wheelEvent(QWheelEvent* event) override;
};
