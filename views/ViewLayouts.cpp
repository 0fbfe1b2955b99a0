// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewLayouts.h"

#include "views/IldaViewFront.h"
#include "views/IldaViewPerspective.h"
#include "views/IldaViewSide.h"
#include "views/IldaViewTop.h"

#include <QGridLayout>

namespace ViewLayouts {

IldaView* createView(unsigned int index)
{
    switch (index) {
    case IldaView::Front:
        return new IldaViewFront;
    case IldaView::Side:
        return new IldaViewSide;
    case IldaView::Top:
        return new IldaViewTop;
    case IldaView::Perspective:
        return new IldaViewPerspective;
    default:
        return nullptr;
    }
}

QWidget* createGrid(QList<IldaView*>* views)
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(3);
    const unsigned int order[] = {IldaView::Top, IldaView::Perspective, IldaView::Front,
                                  IldaView::Side};
    for (int cell = 0; cell < 4; ++cell) {
        IldaView* view = createView(order[cell]);
        grid->addWidget(view, cell / 2, cell % 2);
        if (views)
            views->append(view);
    }
    auto* widget = new QWidget;
    widget->setLayout(grid);
    return widget;
}

} // namespace ViewLayouts
