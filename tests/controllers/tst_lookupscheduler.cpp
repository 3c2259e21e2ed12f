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
    // Once set, the resolver keeps the next answer until the test calls release.
    inline static bool holding = false;
    inline static std::function<void()> release;

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
    void initTestCase() // only the suites' names resolve, and no test leaves the machine
    {
        HostLookup::SetResolver([](const QString& name, QObject* context, const HostLookup::Answer& answer) {
            ++lookups;
            if (!std::exchange(holding, false))
                return FakeResolve(name, context, answer);
            release = [guard = QPointer<QObject>(context), name, answer] {
                if (guard)
                    FakeResolve(name, guard, answer);
            };
        });
    }

    void leavingAfterAName_data()
    {
        // unnamed: text that empties the page as the name does, but is no host name; warning: title: text, once
        AddColumns<QLineEdit*, QString, QString, QString>("edit", "unnamed", "steps", "warning");
        const QString v4 = "IPv4 Resolve Failed: Host not found", v6 = "IPv6 Resolve Failed: Host not found";
        AddRow("Conversions, the Options menu", ui->dottedDecEdit, QString("0x0a000001"), "Alt+O,Esc,Esc,Esc", v4);
        AddRow("CIDR, Ctrl+Tab", ui->cidrAddressEdit, QString("300.1.2.3"), "Ctrl+Tab", v4);
        AddRow("Classes, a click on another tab", ui->classesAddressEdit, QString("a_b.test"), "click 0", v4);
        AddRow("Conversions, Return", ui->dottedDecEdit, QString("1.2.3.4.5"), "Return", v4);
        AddRow("IPv6, the Help menu", ui->ipv6AddressEdit, QString("256.1.1.1"), "Alt+H,Esc,Esc", v6);
        AddRow("IPv6 Subnets, Tab", ui->ipv6SubnetsAddressEdit, QString("ab.cd"), "Tab", v6);
        AddRow("Conversions, the window closed", ui->dottedDecEdit, QString("0x0a000001"), "close", QString());
    }
    void leavingAfterAName()
    {
        QFETCH(QLineEdit*, edit);
        QFETCH(QString, unnamed);
        QFETCH(QString, steps);
        MessageBoxCloser closer;
        lookups = 0;
        const QStringList seen = Walk(edit, unnamed, steps);
        QCOMPARE(lookups + closer.count, 0);
        QCOMPARE(Walk(edit, "zz.invalid", steps), seen);
        QTEST(closer.count ? closer.title + ": " + closer.text : QString(), "warning");
        QVERIFY(closer.count == lookups && lookups <= 1);
    }

    // A slow answer leaves the window working; Escape or new text drops the lookup, and its answer with it.
    void slowAnswer_data()
    {
        AddColumns<QString, bool, QString>("meanwhile", "running", "left"); // left: the edit's text once answered
        AddRow("a click on another tab", QString("click 0"), true, QString("192.0.2.7"));
        AddRow("Escape", QString("Esc"), false, QString("multi.test"));
        AddRow("new text", QString("x"), false, QString("multi.testx"));
    }
    void slowAnswer()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, running);
        const auto* label = ui->subnetsAddressWidget->findChild<QLabel*>("lookupLabel");
        MessageBoxCloser closer;
        holding = true;
        const QStringList seen = Walk(ui->subnetsAddressEdit, "multi.test", "Return," + meanwhile);
        QCOMPARE(seen.value(1).section(" | ", 2, 2), running ? QString("conversionsTab") : QString("subnetsTab"));
        QCOMPARE(!label->isHidden() ? label->text() : QString(),
                 running ? QString("Looking up multi.test…") : QString());
        QVERIFY(!QApplication::overrideCursor()
                && ui->subnetsTab->cursor().shape() == (running ? Qt::WaitCursor : Qt::ArrowCursor));
        release();
        AwaitLookup(ui->subnetsAddressEdit);
        QTEST(ui->subnetsAddressEdit->text(), "left");
        QCOMPARE(closer.count, 0);
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstLookupScheduler)
#include "tst_lookupscheduler.moc"
