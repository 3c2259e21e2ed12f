// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/brandingutil.h"
#include "app/commandline.h"
#include "app/mainform.h"
#include "app/memorypolicy.h"
#include "app/quitsignalhandler.h"
#include "settings/settingsfileguard.h"

#include <QApplication>
#include <QDate>
#include <QIcon>
#include <QMessageBox>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    MemoryPolicy::Apply();
    QApplication app(argc, argv);
    const QuitSignalHandler quitSignalHandler;
    BrandingUtil::SetApplicationIdentity();
    // The toolkit has taken its own options (-platform, -style) out already.
    const CommandLine commandLine = CommandLine::Parse(QCoreApplication::arguments());
    if (commandLine.Exits()) {
        std::fputs(qPrintable(commandLine.output), stdout);
        std::fputs(qPrintable(commandLine.error), stderr);
        return commandLine.exitCode;
    }

    QIcon icon(QStringLiteral(":/images/octetry-icon-16x16x32.png"));
    for (int size : {24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/images/octetry-icon-%1x%1x32.png").arg(size), QSize(), QIcon::Normal,
                     QIcon::Off);
    QApplication::setWindowIcon(icon);
    QApplication::setQuitOnLastWindowClosed(true);

    // Before anything reads the settings: a file the program cannot have written is set aside.
    const QString setAside = SettingsFileGuard::SetAsideUnreadable(QDate::currentDate());
    MainForm mainForm;
    mainForm.EnterAddress(commandLine.page, commandLine.address);
    mainForm.show();
    if (!setAside.isEmpty()) {
        QMetaObject::invokeMethod(
            &mainForm,
            [&mainForm, setAside] {
                QMessageBox::warning(&mainForm, QCoreApplication::translate("MainForm", "Settings Not Read"), setAside);
            },
            Qt::QueuedConnection);
    }
    return QApplication::exec();
}
