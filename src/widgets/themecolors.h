// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/bitusage.h"

#include <QColor>
#include <QString>

#include <initializer_list>

class QPalette;

// Colours chosen for black text on white, made legible on the palette in use:
// a light palette gets them unchanged, a dark one a shade of the same hue
// that stands out from its backgrounds as WCAG 2 asks of body text.
class ThemeColors
{
public:
    // The contrast body text needs against its background (WCAG 2, level AA).
    static constexpr double minimumContrast = 4.5;

    // The WCAG 2 contrast ratio of two colours, from 1 (equal) to 21 (black on white).
    [[nodiscard]] static double ContrastRatio(const QColor& first, const QColor& second);
    // Whether palette draws light text on a dark window.
    [[nodiscard]] static bool IsDark(const QPalette& palette);
    // color lightened (hue and saturation kept) until it reaches minimumContrast
    // against every background; white when even that falls short.
    [[nodiscard]] static QColor Legible(const QColor& color, std::initializer_list<QColor> backgrounds);
    // color itself on a light palette; on a dark one, color with its lightness
    // mirrored, made Legible against backgrounds.
    [[nodiscard]] static QColor ForPalette(const QColor& color, const QPalette& palette,
                                           std::initializer_list<QColor> backgrounds);
    // html with each "color: #rrggbb" of its styles made ForPalette against the window colour.
    [[nodiscard]] static QString HtmlForPalette(QString html, const QPalette& palette);
    // The bit roles' colours for text on palette's base and window colours:
    // the table's names on a light palette, "#rrggbb" shades on a dark one.
    [[nodiscard]] static BitRoleColors BitRoleColorsFor(const QPalette& palette);
};
