// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/themecolors.h"

#include <QPalette>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// WCAG 2 relative luminance of the colour's sRGB components.
double RelativeLuminance(const QColor& color)
{
    const auto linear = [](float component) {
        return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double LowestContrast(const QColor& color, std::initializer_list<QColor> backgrounds)
{
    double lowest = 21;
    for (const QColor& background : backgrounds)
        lowest = std::min(lowest, ThemeColors::ContrastRatio(color, background));
    return lowest;
}

} // namespace

double ThemeColors::ContrastRatio(const QColor& first, const QColor& second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool ThemeColors::IsDark(const QPalette& palette)
{
    return RelativeLuminance(palette.color(QPalette::Window)) < RelativeLuminance(palette.color(QPalette::WindowText));
}

QColor ThemeColors::Legible(const QColor& color, std::initializer_list<QColor> backgrounds)
{
    const QColor hsl = color.toHsl();
    QColor shade = color;
    for (int lightness = hsl.lightness(); lightness < 255 && LowestContrast(shade, backgrounds) < minimumContrast;)
        shade = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), ++lightness);
    return shade;
}

QColor ThemeColors::ForPalette(const QColor& color, const QPalette& palette, std::initializer_list<QColor> backgrounds)
{
    if (!IsDark(palette))
        return color;
    // Dark on light becomes light on dark: black turns white, navy a pale blue.
    const QColor hsl = color.toHsl();
    return Legible(QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), 255 - hsl.lightness()), backgrounds);
}

QString ThemeColors::HtmlForPalette(QString html, const QPalette& palette)
{
    if (!IsDark(palette))
        return html;
    static const QRegularExpression colorStyle(QStringLiteral("color:\\s*(#[0-9A-Fa-f]{6})"));
    const QColor window = palette.color(QPalette::Window);
    for (const QRegularExpressionMatch& match : colorStyle.globalMatch(html))
        html.replace(match.capturedStart(1), 7, ForPalette(QColor(match.captured(1)), palette, {window}).name());
    return html;
}

BitRoleColors ThemeColors::BitRoleColorsFor(const QPalette& palette)
{
    BitRoleColors colors = GetBitRoleColors();
    if (!IsDark(palette))
        return colors;
    // The bit string is drawn on the base colour, its legend on the window colour.
    const QColor base = palette.color(QPalette::Base);
    const QColor window = palette.color(QPalette::Window);
    for (std::string& color : colors)
        color = ForPalette(QColor(QString::fromStdString(color)), palette, {base, window}).name().toStdString();
    return colors;
}
