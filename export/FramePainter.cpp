// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/FramePainter.h"

#include "views/IldaView.h"
#include "views/ViewLayouts.h"

#include <QImage>
#include <QWidget>

FramePainter::FramePainter(int layout, const QSize& size) : m_size(size)
{
    if (layout == AllViews)
        m_root.reset(ViewLayouts::createGrid());
    else
        m_root.reset(ViewLayouts::createView(unsigned(layout)));
    if (!m_root)
        return;
    // Shown but never mapped, so that the grid is laid out exactly as in the window.
    m_root->setAttribute(Qt::WA_DontShowOnScreen);
    m_root->resize(size);
    m_root->show();
}

FramePainter::~FramePainter() = default;

void FramePainter::setFrame(int index) const
{
    if (auto* view = qobject_cast<IldaView*>(m_root.get()))
        view->setFrameIndex(index);
    else if (m_root)
        for (IldaView* child : m_root->findChildren<IldaView*>())
            child->setFrameIndex(index);
}

void FramePainter::paint(QPaintDevice* device) const
{
    if (m_root)
        m_root->render(device);
}

void FramePainter::paint(QPainter& painter) const
{
    if (m_root)
        m_root->render(&painter);
}

QImage FramePainter::image() const
{
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(Qt::black);
    paint(&image);
    return image;
}
