// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QImage;
class QSize;
class QTextStream;

// lumenar-inspect --render: draws a frame, or every frame, with the viewer's own view widgets
// into a PNG, SVG or GIF, through the same code as the window's exports.
namespace Render {

// The view indices of IldaView, and the window's 2x2 grid of all four.
enum Layout { Front = 0, Side = 1, Top = 2, Perspective = 3, All = 4 };

// True when args ask for a picture rather than a listing.
bool isRenderCommand(const QStringList& args);

// args excludes the program name. Returns an Inspector exit status.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

// Paints the store's current frame as the window would, with the current view state and display
// flags: one view, or the grid with Top and Perspective above Front and Side, 3 pixels apart.
QImage renderFrame(Layout layout, const QSize& size);

} // namespace Render
