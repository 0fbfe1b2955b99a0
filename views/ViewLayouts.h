// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class IldaView;
class QWidget;

// The window's two layouts, shared with the inspector's pictures so that both look alike.
namespace ViewLayouts {

// The view of the given index (0 Front, 1 Side, 2 Top, 3 Perspective), or null for another.
IldaView* createView(unsigned int index);

// All four views on a plain widget: Top and Perspective above, Front and Side below, 3 pixels
// apart and without margins. The views are listed in `views` when it is given.
QWidget* createGrid(QList<IldaView*>* views = nullptr);

} // namespace ViewLayouts
