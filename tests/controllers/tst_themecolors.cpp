#include "app/mainform.h"
#include "common/formtestutil.h"
#include "controllers/themecolors.h"
#include "ui_octetrymainform.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>

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

// The lowest contrast of the colours named in html's spans against background.
double LowestSpanContrast(const QString& html, const QColor& background)
{
    double lowest = 21;
    for (const QRegularExpressionMatch& match : QRegularExpression("color:\\s*([#\\w]+)").globalMatch(html))
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
        auto percent = [](const char* a, const char* b) {
            return qRound(ThemeColors::ContrastRatio(QColor(a), QColor(b)) * 100);
        };
        QCOMPARE(percent("black", "white"), 2100);
        QCOMPARE(percent("teal", "teal"), 100);
        QCOMPARE(percent("gray", "white"), 395); // the table's gray, kept on light palettes
        QCOMPARE(percent("#232629", "#EFF0F1"), 1333);
        // The About box's link and small print, kept when light and lightened when dark.
        const QString about = "a { color: #0e6f96; } p.small { color:#555555; }";
        QCOMPARE(ThemeColors::HtmlForPalette(about, light), about);
        QVERIFY(LowestSpanContrast(ThemeColors::HtmlForPalette(about, DarkPalette()), QColor("#31363B")) >= 4.5);
    }

    void bitRoleColors_data()
    {
        QTest::addColumn<int>("role");
        for (int role = OpenBit; role <= GroupBit; ++role)
            QTest::addRow("%d %s in %s", role, GetBitRoleName(role).c_str(), GetBitRoleColor(role).c_str()) << role;
    }

    // Light: the table's colour as it stands. Dark: the same hue, legible on the base and window.
    void bitRoleColors()
    {
        QFETCH(int, role);
        const auto index = static_cast<std::size_t>(role);
        QCOMPARE(ThemeColors::BitRoleColorsFor(light)[index], GetBitRoleColor(role));
        const QPalette dark = DarkPalette();
        const QColor original(QString::fromStdString(GetBitRoleColor(role)));
        const QColor shade(QString::fromStdString(ThemeColors::BitRoleColorsFor(dark)[index]));
        for (const QPalette::ColorRole background : {QPalette::Base, QPalette::Window})
            QVERIFY(ThemeColors::ContrastRatio(shade, dark.color(background)) >= ThemeColors::minimumContrast);
        QVERIFY2(std::abs(shade.hslHue() - original.hslHue()) <= 2, qPrintable(shade.name()));
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
            const QString legend = ui->classBitUsageLabel->text();
            // Only the dark shades are held to 4.5: a light palette keeps the table's colours.
            const double least = palette == light ? 1 : ThemeColors::minimumContrast;
            QVERIFY(LowestSpanContrast(legend, palette.color(QPalette::Window)) >= least);
            QVERIFY(LowestSpanContrast(ui->classBitUsageEdit->toHtml(), base) >= least);
            QCOMPARE(legend.contains("color:navy"), palette == light);

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
