// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/MacColors.h"

#ifdef Q_OS_MACOS
#include <QOperatingSystemVersion>

#include <objc/message.h>
#include <objc/runtime.h>

namespace {

id send(id receiver, const char* selector)
{
    return reinterpret_cast<id (*)(id, SEL)>(objc_msgSend)(receiver, sel_registerName(selector));
}

double component(id color, const char* selector)
{
    // CGFloat is a double on every 64-bit Mac.
    return reinterpret_cast<double (*)(id, SEL)>(objc_msgSend)(color, sel_registerName(selector));
}

// +[NSColor <name>] in device RGB, always opaque; `otherwise` when AppKit gives no colour.
QColor appKitColor(const char* name, const QColor& otherwise)
{
    const id colorClass = reinterpret_cast<id>(objc_getClass("NSColor"));
    const id spaceClass = reinterpret_cast<id>(objc_getClass("NSColorSpace"));
    if (!colorClass || !spaceClass)
        return otherwise;
    const id named = send(colorClass, name);
    const id space = send(spaceClass, "deviceRGBColorSpace");
    if (!named || !space)
        return otherwise;
    const id rgb = reinterpret_cast<id (*)(id, SEL, id)>(objc_msgSend)(
        named, sel_registerName("colorUsingColorSpace:"), space);
    if (!rgb)
        return otherwise;
    return QColor::fromRgbF(component(rgb, "redComponent"), component(rgb, "greenComponent"),
                            component(rgb, "blueComponent"), 1.0);
}

} // namespace

QColor MacColors::accentColor(const QColor& fallback)
{
    // The running system decides, not the one the program was built on.
    if (QOperatingSystemVersion::current() < QOperatingSystemVersion::MacOSMojave)
        return fallback;
    return appKitColor("controlAccentColor", fallback);
}

#else

QColor MacColors::accentColor(const QColor& fallback)
{
    return fallback;
}

#endif
