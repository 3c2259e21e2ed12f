// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"

class TstCidrTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
    const QList<QComboBox*> lists{ui->cidrMaskComboBox, ui->cidrBitsComboBox, ui->cidrMaxNetworksComboBox};

private slots:
    void init()
    {
        form.show();
        ui->tabWidget->setCurrentWidget(ui->cidrTab);
        TypeOver(ui->cidrAddressEdit, "10.200.3.4");
        ChooseMaskBits(ui->addressBlockMaskComboBox, 16);
        ChooseMaskBits(ui->cidrMaskComboBox, 20);
    }

    void pageFollowsAddressBlockAndMask_data()
    {
        // blocks: chosen in turn; maskBits 0: none; page: block range; mask list; rows, selected row: route, range
        // clang-format off
        AddColumns<QString, QList<int>, int, QString>("address", "blocks", "maskBits", "page");
        QTest::newRow("/16 to /8 keeps /20") << "10.200.3.4" << QList<int>{8} << 0 << "10.0.0.0 - 10.255.255.255; 24 masks /9-/32, /20 chosen; 4096 rows, row 3200: 10.200.0.0, 10.200.0.0 - 10.200.15.255";
        QTest::newRow("/24 with /32 routes has no ranges") << "10.200.3.4" << QList<int>{24} << 32 << "10.200.3.0 - 10.200.3.255; 8 masks /25-/32, /32 chosen; 256 rows, row 4: 10.200.3.4, N/A";
        QTest::newRow("/1 with /32 routes: the rows start at the block's start") << "0.0.1.0" << QList<int>{1} << 32 << "0.0.0.0 - 127.255.255.255; 31 masks /2-/32, /32 chosen; 16777216 rows, row 256: 0.0.1.0, N/A";
        QTest::newRow("/1 with /32 routes: the rows end at the block's end") << "255.255.255.254" << QList<int>{1} << 32 << "128.0.0.0 - 255.255.255.255; 31 masks /2-/32, /32 chosen; 16777216 rows, row 16777214: 255.255.255.254, N/A";
        QTest::newRow("/32 shows only its range") << "10.200.3.4" << QList<int>{32} << 0 << "10.200.3.4; no mask chosen; 0 rows, row -1: , ";
        QTest::newRow("/24 after /32 chooses /25") << "192.168.1.7" << QList<int>{32, 24} << 0 << "192.168.1.0 - 192.168.1.255; 8 masks /25-/32, /25 chosen; 2 rows, row 0: 192.168.1.0, 192.168.1.0 - 192.168.1.127";
        // clang-format on
    }
    void pageFollowsAddressBlockAndMask()
    {
        QFETCH(QString, address);
        QFETCH(QList<int>, blocks);
        QFETCH(int, maskBits);
        TypeOver(ui->cidrAddressEdit, address);
        for (int block : blocks)
            ChooseMaskBits(ui->addressBlockMaskComboBox, block);
        if (maskBits > 0)
            ChooseMaskBits(ui->cidrMaskComboBox, maskBits);
        const QModelIndex row = ui->cidrTableView->selectionModel()->selectedRows().value(0);
        QTEST(QString("%1; %2; %3 rows, row %4: %5, %6")
                  .arg(ui->addressBlockRangeEdit->text(), MaskListText(ui->cidrMaskComboBox))
                  .arg(ui->cidrTableView->model()->rowCount())
                  .arg(row.row())
                  .arg(row.data().toString(), row.siblingAtColumn(1).data().toString()),
              "page");
        const bool enabled = ui->cidrMaskComboBox->currentIndex() >= 0;
        for (const QComboBox* comboBox : lists)
            QVERIFY2(comboBox->isEnabled() == enabled
                         && comboBox->currentIndex() == ui->cidrMaskComboBox->currentIndex(),
                     qPrintable(comboBox->objectName()));
        QCOMPARE(ui->cidrBitUsageEdit->isEnabled(), enabled);
        if (row.isValid()) // scrolled into view, also right after a smaller table
            QVERIFY(ui->cidrTableView->viewport()->rect().contains(ui->cidrTableView->visualRect(row).center()));
    }

    void oneChoiceStoresOnceAndMovesAllThree()
    {
        QSignalSpy changes(OctetrySettings::Instance(), &OctetrySettings::SettingChanged);
        ui->cidrMaxNetworksComboBox->setCurrentIndex(5);
        const QStringList texts{"255.255.252.0   (/22)", "6", "64"};
        for (int i = 0; i < lists.size(); ++i)
            QCOMPARE(lists[i]->currentText(), texts[i]);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).value<OctetrySettings::Setting>(), OctetrySettings::CidrPolicySetting);
        QCOMPARE(ui->cidrBitUsageEdit->toPlainText(), QString("00001010.11001000.ccccccxx.xxxxxxxx"));
    }
};

OCTETRY_WINDOW_TEST_MAIN(TstCidrTabController)

#include "tst_cidrtabcontroller.moc"
