#include "app/mainform.h"
#include "common/formtestutil.h"
#include "ui_octetrymainform.h"

// The page as the user reads it: the address block's range, the mask list, the
// table's rows, the selected one (-1: none) with its route and address range.
struct CidrPage
{
    QString block;
    MaskList masks;
    int rows = 0, selected = -1;
    QString route, range;
    bool operator==(const CidrPage&) const = default;
};
char* toString(const CidrPage& p)
{
    return QTest::toString(
        QString("block %1; %2; %3 rows, row %4 selected: route %5, range %6")
            .arg(p.block, p.masks.ToString(), QString::number(p.rows), QString::number(p.selected), p.route, p.range));
}

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
        // clang-format off
        AddColumns<QString, QList<int>, int, CidrPage>("address", "blocks", "maskBits", "page"); // blocks chosen in turn; mask 0: none
        QTest::newRow("/16 to /8 keeps /20") << "10.200.3.4" << QList<int>{8} << 0 << CidrPage{"10.0.0.0 - 10.255.255.255", {24, 9, 32, 20}, 4096, 3200, "10.200.0.0", "10.200.0.0 - 10.200.15.255"};
        QTest::newRow("/24 with /32 routes has no ranges") << "10.200.3.4" << QList<int>{24} << 32 << CidrPage{"10.200.3.0 - 10.200.3.255", {8, 25, 32, 32}, 256, 4, "10.200.3.4", "N/A"};
        QTest::newRow("/1 with /32 routes: the rows start at the block's start") << "0.0.1.0" << QList<int>{1} << 32 << CidrPage{"0.0.0.0 - 127.255.255.255", {31, 2, 32, 32}, 16777216, 256, "0.0.1.0", "N/A"};
        QTest::newRow("/1 with /32 routes: the rows end at the block's end") << "255.255.255.254" << QList<int>{1} << 32 << CidrPage{"128.0.0.0 - 255.255.255.255", {31, 2, 32, 32}, 16777216, 16777214, "255.255.255.254", "N/A"};
        QTest::newRow("/32 shows only its range") << "10.200.3.4" << QList<int>{32} << 0 << CidrPage{"10.200.3.4", {}, 0, -1, "", ""};
        QTest::newRow("/24 after /32 chooses /25") << "192.168.1.7" << QList<int>{32, 24} << 0 << CidrPage{"192.168.1.0 - 192.168.1.255", {8, 25, 32, 25}, 2, 0, "192.168.1.0", "192.168.1.0 - 192.168.1.127"};
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
        QTEST((CidrPage{ui->addressBlockRangeEdit->text(), MaskList::Of(ui->cidrMaskComboBox),
                        ui->cidrTableView->model()->rowCount(), row.row(), row.data().toString(),
                        row.siblingAtColumn(1).data().toString()}),
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
