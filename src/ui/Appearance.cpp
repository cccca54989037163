#include "ui/Appearance.h"

#include "ui/Look.h"

#include <QApplication>
#include <QStyle>

namespace {

// How far a colour stands out from the background, in luminance.
qreal distance(const QColor &a, const QColor &b)
{
    return qAbs(Look::luminance(a) - Look::luminance(b));
}

void setAllGroups(QPalette &palette, QPalette::ColorRole role, const QColor &color)
{
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, role, color);
}

} // namespace

Appearance::Appearance(QObject *parent)
    : QObject(parent)
    , m_platform(QGuiApplication::palette())
{
    QApplication::setPalette(palette(m_platform, m_scheme));
}

void Appearance::setScheme(Scheme scheme)
{
    m_scheme = scheme;
    QApplication::setPalette(palette(m_platform, scheme));
}

QPalette Appearance::palette(const QPalette &platform, Scheme scheme)
{
    // A theme that already matches the preference keeps its own colours.
    QPalette chosen = platform;
    if (scheme == Scheme::dark && !isDark(platform))
        chosen = darkPalette();
    else if (scheme == Scheme::light && isDark(platform))
        chosen = QApplication::style()->standardPalette();
    return withDerivedRoles(chosen);
}

QPalette Appearance::darkPalette()
{
    const QColor window(0x24, 0x24, 0x24);
    const QColor base(0x1e, 0x1e, 0x1e);
    const QColor button(0x32, 0x32, 0x32);
    const QColor text(0xff, 0xff, 0xff);
    const QColor dimmed(0x80, 0x80, 0x80);
    QPalette palette(button, window);
    setAllGroups(palette, QPalette::Window, window);
    setAllGroups(palette, QPalette::Base, base);
    setAllGroups(palette, QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
    setAllGroups(palette, QPalette::Button, button);
    setAllGroups(palette, QPalette::Light, QColor(0x4a, 0x4a, 0x4a));
    setAllGroups(palette, QPalette::Midlight, QColor(0x3c, 0x3c, 0x3c));
    setAllGroups(palette, QPalette::Mid, QColor(0x2c, 0x2c, 0x2c));
    setAllGroups(palette, QPalette::Dark, QColor(0x18, 0x18, 0x18));
    setAllGroups(palette, QPalette::Shadow, QColor(0x00, 0x00, 0x00));
    setAllGroups(palette, QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3a));
    setAllGroups(palette, QPalette::ToolTipText, text);
    setAllGroups(palette, QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    setAllGroups(palette, QPalette::HighlightedText, text);
    setAllGroups(palette, QPalette::Link, QColor(0x78, 0xae, 0xed));
    setAllGroups(palette, QPalette::LinkVisited, QColor(0xc0, 0x61, 0xcb));
    setAllGroups(palette, QPalette::BrightText, QColor(0xff, 0x7b, 0x63));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, text);
        palette.setColor(QPalette::Inactive, role, text);
        palette.setColor(QPalette::Disabled, role, dimmed);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x50, 0x50, 0x50));
    return palette;
}

bool Appearance::isDark(const QPalette &palette)
{
    return Look::luminance(palette.color(QPalette::Window))
        < Look::luminance(palette.color(QPalette::WindowText));
}

QPalette Appearance::withDerivedRoles(QPalette palette)
{
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    setAllGroups(palette, QPalette::PlaceholderText, Look::secondary(palette));
    // A disabled text must stand out clearly less than an enabled one.
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        const QColor enabled = palette.color(QPalette::Active, role);
        const QColor disabled = palette.color(QPalette::Disabled, role);
        if (distance(disabled, window) > 0.6 * distance(enabled, window))
            palette.setColor(QPalette::Disabled, role, Look::mix(enabled, window, 0.55));
    }
    return palette;
}
