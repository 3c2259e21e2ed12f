// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "controllers/hostlookup.h"
#include "ui_octetrymainform.h"

#include <QHostInfo>

// Leaving an address edit that holds a name, by the menus' keys, a tab switch
// or closing the window, against leaving it with text that is looked up nowhere.
class TstLookupScheduler : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    inline static int lookups = 0;

    // After each comma-separated step: the open menu, the focus, the current page, whether the window is shown.
    QStringList Walk(QLineEdit* edit, const QString& text, const QString& steps)
    {
        auto name = [](const QObject* object) { return object ? object->objectName() : QString("none"); };
        QStringList seen;
        // Offscreen, no window manager gives the window back when a warning closes.
        auto activate = [&] {
            if (form.isVisible() && !form.isActiveWindow()
                && (form.activateWindow(), !QTest::qWaitForWindowActive(&form)))
                seen << "the window is not active";
        };
        form.show();
        activate();
        ui->tabWidget->setCurrentWidget(edit->parentWidget()->parentWidget());
        edit->setFocus();
        TypeOver(edit, text);
        for (const QString& step : steps.split(',')) {
            QTabBar* bar = ui->tabWidget->tabBar();
            QWidget* popup = QApplication::activePopupWidget();
            if (step == "close")
                form.close();
            else if (step.startsWith("click "))
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(step.mid(6).toInt()).center());
            else // as the keyboard does: to the open menu, else to the focus
                QTest::keySequence(popup ? popup : QApplication::focusWidget(), QKeySequence(step));
            QTest::qWait(80); // a lookup that waited runs now, and its warning is closed
            activate();
            seen << QString("%1 | %2 | %3 | %4")
                        .arg(name(QApplication::activePopupWidget()), name(QApplication::focusWidget()),
                             name(ui->tabWidget->currentWidget()), form.isVisible() ? "shown" : "closed");
        }
        return seen;
    }

private slots:
    void initTestCase() // no name resolves, and no test leaves the machine
    {
        HostLookup::SetResolver([](const QString&) {
            QHostInfo info;
            info.setError(QHostInfo::HostNotFound), info.setErrorString("Host not found");
            return ++lookups, info;
        });
    }

    void leavingAfterAName_data()
    {
        // warning: title: text, once
        AddColumns<QLineEdit*, QString, QString>("edit", "steps", "warning");
        const QString v4 = "IPv4 Resolve Failed: Host not found", v6 = "IPv6 Resolve Failed: Host not found";
        AddRow("Conversions, the Options menu", ui->dottedDecEdit, "Alt+O,Esc,Esc,Esc", v4);
        AddRow("CIDR, Ctrl+Tab", ui->cidrAddressEdit, "Ctrl+Tab", v4);
        AddRow("Classes, a click on another tab", ui->classesAddressEdit, "click 0", v4);
        AddRow("Conversions, Return", ui->dottedDecEdit, "Return", v4);
        AddRow("IPv6, the Help menu", ui->ipv6AddressEdit, "Alt+H,Esc,Esc", v6);
        AddRow("IPv6, Tab", ui->ipv6AddressEdit, "Tab", v6);
        AddRow("Conversions, the window closed", ui->dottedDecEdit, "close", QString());
    }
    void leavingAfterAName()
    {
        QFETCH(QLineEdit*, edit);
        QFETCH(QString, steps);
        // Text that empties the page as the name does, but is no host name.
        const QStringList unnamed = Walk(edit, edit->objectName().startsWith("ipv6") ? "1:2" : "300.1.2.3", steps);
        MessageBoxCloser closer;
        lookups = 0;
        QCOMPARE(Walk(edit, "zz.invalid", steps), unnamed);
        QTEST(closer.count ? closer.title + ": " + closer.text : QString(), "warning");
        QVERIFY(closer.count == lookups && lookups <= 1);
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstLookupScheduler)
#include "tst_lookupscheduler.moc"
