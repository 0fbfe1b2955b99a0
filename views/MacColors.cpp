#include "views/MacColors.h"

#include <QGuiApplication>
#include <QPalette>

#ifdef Q_OS_MACOS
#include <QOperatingSystemVersion>

#include <objc/message.h>
#include <objc/runtime.h>
#endif

namespace {

QColor paletteColor(QPalette::ColorRole role)
{
    return QGuiApplication::palette().color(role);
}

#ifdef Q_OS_MACOS

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

bool hasAccentColor()
{
    // The running system decides, not the one the program was built on.
    return QOperatingSystemVersion::current() >= QOperatingSystemVersion::MacOSMojave;
}

#endif

} // namespace

#ifdef Q_OS_MACOS

QColor MacColors::accentColor()
{
    if (hasAccentColor())
        return appKitColor("controlAccentColor", paletteColor(QPalette::Highlight));
    return appKitColor("systemBlueColor", paletteColor(QPalette::Highlight));
}

QColor MacColors::accentColor(const QColor& fallback)
{
    if (!hasAccentColor())
        return fallback;
    return appKitColor("controlAccentColor", fallback);
}

QColor MacColors::highlightColor()
{
    return appKitColor("highlightColor", paletteColor(QPalette::Highlight));
}

QColor MacColors::shadowColor()
{
    return appKitColor("shadowColor", paletteColor(QPalette::Shadow));
}

QColor MacColors::controlColor()
{
    return appKitColor("controlColor", paletteColor(QPalette::Button));
}

QColor MacColors::controlBackgroundColor()
{
    return appKitColor("controlBackgroundColor", paletteColor(QPalette::Base));
}

#else

QColor MacColors::accentColor()
{
    return paletteColor(QPalette::Highlight);
}

QColor MacColors::accentColor(const QColor& fallback)
{
    return fallback;
}

QColor MacColors::highlightColor()
{
    return paletteColor(QPalette::Highlight);
}

QColor MacColors::shadowColor()
{
    return paletteColor(QPalette::Shadow);
}

QColor MacColors::controlColor()
{
    return paletteColor(QPalette::Button);
}

QColor MacColors::controlBackgroundColor()
{
    return paletteColor(QPalette::Base);
}

#endif
