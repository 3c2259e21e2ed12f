// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"

class TstSubnetsTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    const QList<QComboBox*> lists{ui->subnetsMaskComboBox, ui->subnetBitsComboBox, ui->maxSubnetsComboBox,
                                  ui->hostBitsComboBox, ui->maxHostsComboBox}; // they move together
    static OctetrySettings* Settings() { return OctetrySettings::Instance(); }
    static void SetOptions(bool rfc1878, bool rfc3021)
    {
        Settings()->SetAllowOneSubnetBit(rfc1878), Settings()->SetAllowOneHostBit(rfc3021);
    }

private slots:
    void init()
    {
        form.show();
        ui->tabWidget->setCurrentWidget(ui->subnetsTab);
        SetOptions(false, false);
        TypeOver(ui->subnetsAddressEdit, "172.16.0.1");
    }

    void pageFollowsAddressAndOptions_data()
    {
        // from: the address and mask length chosen there; options: 1 RFC 1878, 2 RFC 3021; page: the mask list;
        // the rows, the selected one (-1: none) with its header (the subnet number) and subnet ID
        // clang-format off
        AddColumns<QString, QString, int, QString>("from", "address", "options", "page");
        QTest::newRow("class A /12 becomes class B /18, whose zero subnet has no row") << "10.0.0.1/12" << "172.16.0.1" << 0 << "13 masks /18-/30, /18 chosen; 2 rows, row -1: subnet , ID ";
        QTest::newRow("class B /28 stays /28 in class C, RFC 1878 starts at /25") << "172.16.0.1/28" << "192.168.1.77" << 1 << "6 masks /25-/30, /28 chosen; 16 rows, row 4: subnet 4, ID 192.168.1.64";
        QTest::newRow("RFC 3021 off at /31 chooses /30") << "192.168.1.1/31" << "192.168.1.1" << 0 << "5 masks /26-/30, /30 chosen; 62 rows, row -1: subnet , ID ";
        QTest::newRow("loopback disables the lists and empties the table") << "172.16.0.1/20" << "127.0.0.1" << 0 << "no mask chosen; 0 rows, row -1: subnet , ID ";
        QTest::newRow("RFC 1878 on: the zero subnet is row 0") << "172.16.37.5/20" << "172.16.37.5" << 1 << "14 masks /17-/30, /20 chosen; 16 rows, row 2: subnet 2, ID 172.16.32.0";
        QTest::newRow("RFC 1878 off: row r is subnet r + 1") << "172.16.37.5/20" << "172.16.37.5" << 0 << "13 masks /18-/30, /20 chosen; 14 rows, row 1: subnet 2, ID 172.16.32.0";
        QTest::newRow("RFC 1878 off: all-ones subnet has no row") << "172.16.255.1/20" << "172.16.255.1" << 0 << "13 masks /18-/30, /20 chosen; 14 rows, row -1: subnet , ID ";
        QTest::newRow("/31 has no subnet ID") << "192.168.1.77/31" << "192.168.1.77" << 2 << "6 masks /26-/31, /31 chosen; 126 rows, row 37: subnet 38, ID N/A";
        // clang-format on
    }
    void pageFollowsAddressAndOptions()
    {
        QFETCH(QString, from);
        QFETCH(QString, address);
        QFETCH(int, options);
        SetOptions(false, true);
        TypeOver(ui->subnetsAddressEdit, from.section('/', 0, 0));
        ChooseMaskBits(ui->subnetsMaskComboBox, from.section('/', 1).toInt());
        SetOptions(options & 1, options & 2);
        TypeOver(ui->subnetsAddressEdit, address);
        const QModelIndex row = ui->subnetsTableView->selectionModel()->selectedRows().value(0);
        QTEST(QString("%1; %2 rows, row %3: subnet %4, ID %5")
                  .arg(MaskListText(ui->subnetsMaskComboBox))
                  .arg(ui->subnetsTableView->model()->rowCount())
                  .arg(row.row())
                  .arg(row.isValid() ? row.model()->headerData(row.row(), Qt::Vertical).toString() : "",
                       row.data().toString()),
              "page");
        const bool enabled = ui->subnetsMaskComboBox->currentIndex() >= 0;
        for (const QComboBox* comboBox : lists)
            QVERIFY2(comboBox->isEnabled() == enabled
                         && comboBox->currentIndex() == ui->subnetsMaskComboBox->currentIndex(),
                     qPrintable(comboBox->objectName()));
        QVERIFY(ui->subnetsAddressEdit->isEnabled());
        QCOMPARE(ui->subnetsBitUsageEdit->isEnabled(), enabled);
    }

    void oneChoiceStoresOnceAndMovesAllFive()
    {
        ChooseMaskBits(ui->subnetsMaskComboBox, 18);
        QSignalSpy changes(Settings(), &OctetrySettings::SettingChanged);
        ui->maxHostsComboBox->setCurrentIndex(2);
        const QStringList texts{"255.255.240.0   (/20)", "4", "14", "12", "4094"};
        for (int i = 0; i < lists.size(); ++i)
            QCOMPARE(lists[i]->currentText(), texts[i]);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).value<OctetrySettings::Setting>(), OctetrySettings::SubnetPolicySetting);
        QCOMPARE(ui->subnetsBitUsageEdit->toPlainText(), QString("10nnnnnn.nnnnnnnn.sssshhhh.hhhhhhhh"));
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstSubnetsTabController)

#include "tst_subnetstabcontroller.moc"
