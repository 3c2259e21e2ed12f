// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"
#include "widgets/themecolors.h"

namespace {

// A dark desktop's palette: the Fusion style with Breeze-Dark-like colours.
QPalette DarkPalette()
{
    QPalette palette(QColor("#31363B"));
    palette.setColor(QPalette::Base, QColor("#232629"));
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, QColor("#EFF0F1"));
    return palette;
}

// The lowest contrast of the colours named in html's styles against the backgrounds.
double LowestContrast(const QString& html, std::initializer_list<QColor> backgrounds)
{
    double lowest = 21;
    for (const QRegularExpressionMatch& match : QRegularExpression("color:\\s*([#\\w]+)").globalMatch(html))
        for (const QColor& background : backgrounds)
            lowest = std::min(lowest, ThemeColors::ContrastRatio(QColor(match.captured(1)), background));
    return lowest;
}

} // namespace

class TstThemeColors : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    QPalette light;

private slots:
    void initTestCase()
    {
        QApplication::setStyle("Fusion");
        light = QApplication::style()->standardPalette();
        form.show();
    }

    void contrastRatio()
    {
        const auto percent = [](QColor a, QColor b) { return qRound(ThemeColors::ContrastRatio(a, b) * 100); };
        QCOMPARE(percent("gray", "white"), 395); // the table's gray, kept on light palettes
        // The About box's link and small print, kept when light and lightened when dark.
        const QString about = "a { color: #0e6f96; } p.small { color:#555555; }";
        QCOMPARE(ThemeColors::HtmlForPalette(about, light), about);
        QVERIFY(LowestContrast(ThemeColors::HtmlForPalette(about, DarkPalette()), {QColor("#31363B")}) >= 4.5);
    }

    // Light: the table's colours as they stand. Dark: the same hues, legible on the base and window.
    void bitRoleColors()
    {
        const QPalette dark = DarkPalette();
        const BitRoleColors darkColors = ThemeColors::BitRoleColorsFor(dark);
        QCOMPARE(ThemeColors::BitRoleColorsFor(light), GetBitRoleColors());
        for (std::size_t role = 0; role < darkColors.size(); ++role) {
            const QColor shade(darkColors[role].c_str());
            QVERIFY(std::abs(shade.hslHue() - QColor(GetBitRoleColors()[role].c_str()).hslHue()) <= 2);
            QVERIFY(LowestContrast("color:" + shade.name(), {dark.base().color(), dark.window().color()}) >= 4.5);
        }
    }

    // A theme switch while the program runs recolours the shown page and the hidden ones.
    void pagesFollowThePalette()
    {
        TypeOver(ui->classesAddressEdit, "192.168.1.7");
        TypeOver(ui->ipv6AddressEdit, "2001:db8::1");
        for (const QPalette& palette : {DarkPalette(), light, DarkPalette()}) {
            QApplication::setPalette(palette);
            QCoreApplication::processEvents(); // the change is posted to the widgets
            const QColor base = palette.color(QPalette::Base);
            ui->tabWidget->setCurrentWidget(ui->classesTab);
            const QString shown = ui->classBitUsageLabel->text() + ui->classBitUsageEdit->toHtml();
            QCOMPARE(shown.contains("color:navy"), palette == light); // else a shade, held to 4.5
            QVERIFY(palette == light || LowestContrast(shown, {base, palette.window().color()}) >= 4.5);

            // The picture: every text legible on the boxes and the base; the classic greys when light.
            ui->tabWidget->setCurrentWidget(ui->ipv6Tab);
            QList<QColor> texts, fills{base};
            for (QGraphicsItem* item : ui->ipv6GraphicsView->scene()->items()) {
                if (const auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item))
                    texts << text->defaultTextColor();
                else if (const QGradient* gradient = qgraphicsitem_cast<QGraphicsRectItem*>(item)->brush().gradient())
                    fills << gradient->stops().first().second << gradient->stops().last().second;
            }
            for (const QColor& text : texts)
                for (const QColor& fill : fills)
                    QVERIFY(ThemeColors::ContrastRatio(text, fill) >= ThemeColors::minimumContrast);
            QCOMPARE(fills.contains(QColor(Qt::lightGray)), palette == light);
        }
        // The built-in news page is white whatever the palette: its bullets stay dark.
        ui->tabWidget->setCurrentWidget(ui->newsTab);
        QTRY_VERIFY(ui->newsTextBrowser->palette().color(QPalette::Text) == Qt::black);
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstThemeColors)
#include "tst_themecolors.moc"
