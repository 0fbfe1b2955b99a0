// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Named desktop colours. On macOS the accent colour comes from AppKit, read afresh on every call
// so that a change in the system settings shows at the next repaint.
class MacColors
{
public:
    // The fallback is returned unchanged where the system has no accent colour.
    static QColor accentColor(const QColor& fallback);
};
