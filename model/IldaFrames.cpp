// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/IldaFrames.h"

#include "model/Palettes.h"

#include <cstring>

IldaFrames globalIldaFrames;

IldaFrames::IldaFrames()
{
    initIldaPalette();
}

IldaFrames::~IldaFrames() = default;

void IldaFrames::initIldaPalette()
{
    for (int p = 0; p < 256; ++p) {
        for (int c = 0; c < 64; ++c) {
            m_paletteRed[p][c] = ildaDefaultPalette[c * 3];
            m_paletteGreen[p][c] = ildaDefaultPalette[c * 3 + 1];
            m_paletteBlue[p][c] = ildaDefaultPalette[c * 3 + 2];
        }
        std::memset(&m_paletteRed[p][64], 255, 256 - 64);
        std::memset(&m_paletteGreen[p][64], 255, 256 - 64);
        std::memset(&m_paletteBlue[p][64], 255, 256 - 64);
    }
}

QRgb IldaFrames::getPaletteEntry(int projector, int index) const
{
    if (projector < 0 || projector > 255 || index < 0 || index > 255)
        return qRgb(0, 0, 0);
    return qRgb(m_paletteRed[projector][index], m_paletteGreen[projector][index],
                m_paletteBlue[projector][index]);
}

IldaFrame IldaFrames::getFrame(int index) const
{
    if (index < 0 || index >= m_frames.size())
        return IldaFrame(QString(), QString(), 0, 1);
    return m_frames.at(index);
}

IldaFrame IldaFrames::getCurrentFrame() const
{
    return getFrame(m_currentFrame);
}

bool IldaFrames::isFirst() const
{
    return m_frames.isEmpty() || m_currentFrame < 1;
}

bool IldaFrames::isLast() const
{
    return m_frames.isEmpty() || m_currentFrame >= m_frames.size() - 1;
}

void IldaFrames::gotoFrame(int index)
{
    if (index >= 0 && index < m_frames.size())
        m_currentFrame = index;
}

void IldaFrames::gotoFirst()
{
    m_currentFrame = 0;
}

void IldaFrames::gotoPrevious()
{
    if (m_currentFrame > 0)
        --m_currentFrame;
}

void IldaFrames::gotoNext()
{
    if (m_currentFrame < m_frames.size() - 1)
        ++m_currentFrame;
}

void IldaFrames::gotoLast()
{
    m_currentFrame = qMax(0, int(m_frames.size()) - 1);
}
