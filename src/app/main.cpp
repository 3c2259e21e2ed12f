// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/brandingutil.h"
#include "app/mainform.h"
#include "app/quitsignalhandler.h"

#include <QApplication>
#include <QIcon>
#include <QString>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QuitSignalHandler quitSignalHandler;
    BrandingUtil::SetApplicationIdentity();

    QIcon icon(QStringLiteral(":/images/octetry-icon-16x16x32.png"));
    for (int size : {24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/images/octetry-icon-%1x%1x32.png").arg(size), QSize(), QIcon::Normal,
                     QIcon::Off);
    QApplication::setWindowIcon(icon);
    QApplication::setQuitOnLastWindowClosed(true);

    MainForm mainForm;
    mainForm.show();
    return QApplication::exec();
}
