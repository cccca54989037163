#pragma once

#include "platform/ColorSchemePortal.h"

#include <QObject>
#include <QPalette>

// The application's colours: the platform theme's palette, turned light or dark
// as the desktop prefers, with the secondary and disabled colours derived so they
// stay dimmed whatever the theme says.
class Appearance : public QObject
{
    Q_OBJECT

public:
    using Scheme = ColorSchemePortal::Scheme;

    // Remembers the platform's palette as it is now and applies the derived one.
    explicit Appearance(QObject *parent = nullptr);

    void setScheme(Scheme scheme);
    Scheme scheme() const { return m_scheme; }

    // What setScheme applies, from the platform's palette.
    static QPalette palette(const QPalette &platform, Scheme scheme);
    static QPalette darkPalette();
    static bool isDark(const QPalette &palette);
    // Placeholders and disabled texts dimmed, from the palette's own colours.
    static QPalette withDerivedRoles(QPalette palette);

private:
    QPalette m_platform;
    Scheme m_scheme = Scheme::none;
};
