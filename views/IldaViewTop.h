// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/IldaView.h"

// Looks along the model Y axis: x to the right, -z up.
class IldaViewTop : public IldaView
{
    Q_OBJECT // its own translation context for the label and axis names

        public : IldaViewTop();
    ~IldaViewTop() override;

    QString getLabel() const override;
    void getXY(const IldaPoint& point, int& x, int& y) const override;
    void applyOffset(int& x, int& y) const override;
    void drawAxis(QPainter& painter) const override;
    int getViewIndex() const override { return Top; }

protected:
    void wheelEvent(QWheelEvent* event) override;
};
