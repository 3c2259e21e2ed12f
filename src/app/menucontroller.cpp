// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/menucontroller.h"

#include "app/brandingutil.h"
#include "app/buildconfig.h"
#include "app/mainform.h"
#include "ui_octetrymainform.h"
#include "widgets/themecolors.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QTextStream>
#include <QUrl>

namespace {

// The banner for `ratio` device pixels per logical pixel. uic's QPixmap is the
// 1x file at every scale, which Qt stretches without smoothing, so from above
// 1 on the @2x drawing is used, smoothly scaled for ratios other than 2.
QPixmap BannerPixmap(qreal ratio)
{
    if (ratio <= 1)
        return QPixmap(QStringLiteral(":/images/banner-280x75x32.png"));
    // QPixmap reads the ratio of 2 from the @2x name.
    QPixmap pixmap(QStringLiteral(":/images/banner-280x75x32@2x.png"));
    if (ratio == pixmap.devicePixelRatio())
        return pixmap;
    pixmap = pixmap.scaled((pixmap.deviceIndependentSize() * ratio).toSize(), Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

MenuController::MenuController(MainForm* parent)
    : Controller({parent, parent->GetUi()})
{
}

void MenuController::InitializeView()
{
    Ui::OctetryMainForm* ui = GetUi();
    connect(ui->actionExit, &QAction::triggered, this, &MenuController::on_actionExit_triggered);
    connect(ui->actionAllowOneSubnetBit, &QAction::triggered, this,
            &MenuController::on_actionAllowOneSubnetBit_triggered);
    connect(ui->actionAllowOneHostBit, &QAction::triggered, this, &MenuController::on_actionAllowOneHostBit_triggered);
    connect(ui->actionEmailSupport, &QAction::triggered, this, &MenuController::on_actionEmailSupport_triggered);
    connect(ui->actionVisitWebsite, &QAction::triggered, this, &MenuController::on_actionVisitWebsite_triggered);
    connect(ui->actionAbout, &QAction::triggered, this, &MenuController::on_actionAbout_triggered);

    ui->bannerWidget->installEventFilter(this);
    ui->bannerLabel->installEventFilter(this);

    ui->actionEmailSupport->setText(BrandingUtil::Apply(ui->actionEmailSupport->text()));
    ui->actionVisitWebsite->setText(BrandingUtil::Apply(ui->actionVisitWebsite->text()));
    ui->bannerLabel->setToolTip(BrandingUtil::Apply(ui->bannerLabel->toolTip()));
    ui->bannerLabel->setPixmap(BannerPixmap(ui->bannerLabel->devicePixelRatio()));
}

void MenuController::DoUpdateView(QWidget* /*source*/)
{
    Ui::OctetryMainForm* ui = GetUi();
    ui->actionAllowOneSubnetBit->setChecked(GetSettings()->GetAllowOneSubnetBit());
    ui->actionAllowOneHostBit->setChecked(GetSettings()->GetAllowOneHostBit());
}

bool MenuController::IsSettingRelevant(OctetrySettings::Setting setting)
{
    return setting == OctetrySettings::AllowOneSubnetBitSetting || setting == OctetrySettings::AllowOneHostBitSetting;
}

bool MenuController::eventFilter(QObject* watched, QEvent* event)
{
    Ui::OctetryMainForm* ui = GetUi();
    if (watched == ui->bannerWidget && event->type() == QEvent::Resize) {
        // Integer division truncates toward zero; a label taller than the
        // banner is clipped evenly at top and bottom.
        const QSize banner = ui->bannerWidget->size();
        const QSize label = ui->bannerLabel->size();
        ui->bannerLabel->move((banner.width() - label.width()) / 2, (banner.height() - label.height()) / 2);
    } else if (watched == ui->bannerLabel && event->type() == QEvent::ScreenChangeInternal) {
        // Moved to a screen of another scale: Qt sends this to every widget of the window.
        ui->bannerLabel->setPixmap(BannerPixmap(ui->bannerLabel->devicePixelRatio()));
    } else if (watched == ui->bannerLabel && event->type() == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        on_actionVisitWebsite_triggered();
    }
    return false;
}

void MenuController::on_actionExit_triggered()
{
    GetForm()->close();
}

void MenuController::on_actionAllowOneSubnetBit_triggered()
{
    // The stored value decides, not the check mark Qt has already flipped.
    GetSettings()->SetAllowOneSubnetBit(!GetSettings()->GetAllowOneSubnetBit());
}

void MenuController::on_actionAllowOneHostBit_triggered()
{
    GetSettings()->SetAllowOneHostBit(!GetSettings()->GetAllowOneHostBit());
}

void MenuController::on_actionEmailSupport_triggered()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + BrandingUtil::GetSupportEmail()));
}

void MenuController::on_actionVisitWebsite_triggered()
{
    QDesktopServices::openUrl(QUrl(BrandingUtil::GetOrganizationUrl()));
}

void MenuController::on_actionAbout_triggered()
{
    QString text;
    QFile file(QStringLiteral(":/html/about.html"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream stream(&file);
        stream.setEncoding(QStringConverter::Utf8);
        text = stream.readAll();
    }
    text.replace(QStringLiteral("%APPLICATION_TITLE%"), BrandingUtil::GetApplicationTitle(), Qt::CaseSensitive);
    text.replace(QStringLiteral("%VERSION%"), GetVersionText(), Qt::CaseSensitive);
    // The library loaded at run time, which may be newer than the one built against.
    text.replace(QStringLiteral("%QT_VERSION%"), QString::fromLatin1(qVersion()), Qt::CaseSensitive);
    // The template's link and small-print colours are chosen for a light window.
    QMessageBox::about(GetForm(), GetForm()->windowTitle(), ThemeColors::HtmlForPalette(text, QApplication::palette()));
}

QString MenuController::GetVersionText()
{
    // Linux executables carry no version resource; the build's project
    // version, in the same four-part form, stands in for it.
    return QStringLiteral("%1.%2.%3.%4")
        .arg(OCTETRY_VERSION_MAJOR)
        .arg(OCTETRY_VERSION_MINOR)
        .arg(OCTETRY_VERSION_PATCH)
        .arg(OCTETRY_VERSION_TWEAK);
}
