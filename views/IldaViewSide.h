// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/IldaView.h"

// Looks along the model X axis: -z to the right, y up.
class IldaViewSide : public IldaView
{
    Q_OBJECT // its own translation context for the label and axis names

        public : IldaViewSide();
    ~IldaViewSide() override;

    QString getLabel() const override;
    void getXY(const IldaPoint& point, int& x, int& y) const override;
    void applyOffset(int& x, int& y) const override;
    void drawAxis(QPainter& painter) const override;
    int getViewIndex() const override { return Side; }

protected:
    void wheelEvent(QWheelEvent* event) override;
};
