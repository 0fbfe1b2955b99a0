#pragma once

#include <QColor>

// Named desktop colours. On macOS they come from AppKit, read afresh on every call so that a
// change in the system settings shows at the next repaint; elsewhere the application palette
// stands in.
class MacColors
{
public:
    static QColor accentColor();
    // The fallback is returned unchanged where the system has no accent colour.
    static QColor accentColor(const QColor& fallback);
    static QColor highlightColor();
    static QColor shadowColor();
    static QColor controlColor();
    static QColor controlBackgroundColor();
};
