// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include <memory>

class QImage;
class QPaintDevice;
class QPainter;
class QWidget;

// Draws a frame of the store, read by index, exactly as the window shows it, through the views'
// own paint sequence, onto any paint device: a raster image or a vector drawing. Never moves the
// store's current frame. Keeps its off-screen widgets between frames, so an animation builds
// them once.
class FramePainter
{
public:
    // Layouts: the view indices of IldaView (0 Front ... 3 Perspective), and the 2x2 grid.
    static constexpr int AllViews = 4;

    FramePainter(int layout, const QSize& size);
    ~FramePainter();
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    bool isValid() const { return m_root != nullptr; }
    // The frame to draw from now on; -1, the default, is the store's current frame.
    void setFrame(int index) const;

    void paint(QPaintDevice* device) const;
    // Through a painter, with its transformation.
    void paint(QPainter& painter) const;
    QImage image() const;

private:
    std::unique_ptr<QWidget> m_root;
    QSize m_size;
};
