// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"

// The Conversions page: each notation's edit sets the address, refuses what no address has and shows it canonically.
class TstConversionsTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();

private slots:
    void conversionsPage_data()
    {
        // clang-format off
        AddColumns<QLineEdit*, QString, QString, QString, QString, QString>("edit", "typed", "kept", "address", "shown", "multicast"); // shown after Return
        QTest::newRow("hex c0a80001 gives 192.168.0.1") << ui->hexEdit << "c0a80001" << "c0a80001" << "192.168.0.1" << "0xc0a80001" << "";
        QTest::newRow("hex refuses the x of a lone 0x") << ui->hexEdit << "0x" << "0" << "0.0.0.0" << "0" << "";
        QTest::newRow("dotted binary 1..1 invalidates the page") << ui->dottedBinEdit << "1..1" << "1..1" << "" << "" << "";
        QTest::newRow("octal, shown by the stored option") << ui->octEdit << "25404000001" << "25404000001" << "172.16.0.1" << "025404000001" << "";
        QTest::newRow("239.255.255.250 is multicast") << ui->dottedDecEdit << "239.255.255.250" << "239.255.255.250" << "239.255.255.250" << "239.255.255.250" << "01:00:5E:7F:FF:FA";
        QTest::newRow("240.0.0.1 of class E is no multicast") << ui->dottedDecEdit << "240.0.0.1" << "240.0.0.1" << "240.0.0.1" << "240.0.0.1" << "";
        // clang-format on
    }
    void conversionsPage()
    {
        QFETCH(QLineEdit*, edit);
        QFETCH(QString, typed);
        ui->tabWidget->setCurrentWidget(ui->conversionsTab);
        QVERIFY(!ui->octContainerWidget->isHidden());
        TypeOver(edit, typed);
        QTEST(edit->text(), "kept");
        QTEST(ui->dottedDecEdit->text(), "address");
        QTEST(ui->multicastEdit->text(), "multicast");
        QCOMPARE(ui->multicastEdit->isEnabled(), !ui->multicastEdit->text().isEmpty());
        QVERIFY(ui->decEdit->isEnabled() && ui->hexEdit->isEnabled()); // an invalid address keeps the page usable
        QTest::keyClick(edit, Qt::Key_Return);
        QTEST(edit->text(), "shown");
    }
};

// The option stored by hand before the store loads, as a user would.
OCTETRY_WINDOW_TEST_MAIN(TstConversionsTabController, QSettings().setValue("ShowOctalConversions", true))
#include "tst_conversionstabcontroller.moc"
