#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"
#include "ui_octetrymainform.h"

#include <QApplication>

class TstSubnetsTabController : public QObject
{
    Q_OBJECT

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
        QTest::addColumn<QString>("from"); // address and mask length chosen there
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("options");      // 1: RFC 1878, 2: RFC 3021
        QTest::addColumn<QString>("expected"); // items first-last at current; rows|selected|its header|its ID
        QTest::newRow("class A /12 becomes class B /18 of 13 items, zero subnet has no row")
            << "10.0.0.1/12"
            << "172.16.0.1" << 0 << "13 18-30 at 18; 2|-1";
        QTest::newRow("class B /28 stays /28 in class C, RFC 1878 starts at /25")
            << "172.16.0.1/28"
            << "192.168.1.77" << 1 << "6 25-30 at 28; 16|4|4|192.168.1.64";
        QTest::newRow("RFC 3021 off at /31 chooses /30") << "192.168.1.1/31"
                                                         << "192.168.1.1" << 0 << "5 26-30 at 30; 62|-1";
        QTest::newRow("loopback disables") << "172.16.0.1/20"
                                           << "127.0.0.1" << 0 << "disabled; 0|-1";
        QTest::newRow("RFC 1878 on: 16 rows, row 2") << "172.16.37.5/20"
                                                     << "172.16.37.5" << 1 << "14 17-30 at 20; 16|2|2|172.16.32.0";
        QTest::newRow("RFC 1878 off: row r is subnet r + 1")
            << "172.16.37.5/20"
            << "172.16.37.5" << 0 << "13 18-30 at 20; 14|1|2|172.16.32.0";
        QTest::newRow("RFC 1878 off: all-ones subnet has no row") << "172.16.255.1/20"
                                                                  << "172.16.255.1" << 0 << "13 18-30 at 20; 14|-1";
        QTest::newRow("/31 has no subnet ID") << "192.168.1.77/31"
                                              << "192.168.1.77" << 2 << "6 26-31 at 31; 126|37|38|N/A";
    }
    void pageFollowsAddressAndOptions()
    {
        QFETCH(QString, from);
        QFETCH(QString, address);
        QFETCH(int, options);
        QFETCH(QString, expected);
        SetOptions(false, true);
        TypeOver(ui->subnetsAddressEdit, from.section('/', 0, 0));
        ChooseMaskBits(from.section('/', 1).toInt());
        SetOptions(options & 1, options & 2);
        TypeOver(ui->subnetsAddressEdit, address);
        const QStringList texts = ComboTexts(ui->subnetsMaskComboBox);
        const bool enabled = ui->subnetsMaskComboBox->currentIndex() >= 0;
        auto bits = [](const QString& text) { return text.section('/', 1).remove(')'); };
        const QModelIndexList rows = ui->subnetsTableView->selectionModel()->selectedRows();
        QStringList seen{QString::number(ui->subnetsTableView->model()->rowCount()),
                         QString::number(rows.isEmpty() ? -1 : rows.first().row())};
        if (!rows.isEmpty()) // the vertical header shows the subnet index
            seen << rows.first().model()->headerData(rows.first().row(), Qt::Vertical).toString()
                 << rows.first().data().toString();
        QCOMPARE(enabled ? QString("%1 %2-%3 at %4; ")
                                   .arg(texts.size())
                                   .arg(bits(texts.first()), bits(texts.last()),
                                        bits(ui->subnetsMaskComboBox->currentText()))
                               + seen.join('|')
                         : "disabled; " + seen.join('|'),
                 expected);
        for (QComboBox* comboBox : Combos())
            QVERIFY(comboBox->isEnabled() == enabled
                    && comboBox->currentIndex() == ui->subnetsMaskComboBox->currentIndex());
        QVERIFY(ui->subnetsAddressEdit->isEnabled() && ui->subnetsBitUsageEdit->isEnabled() == enabled);
    }

    void oneChoiceStoresOnceAndMovesAllFive()
    {
        ChooseMaskBits(18);
        QSignalSpy changes(Settings(), &OctetrySettings::SettingChanged);
        ui->maxHostsComboBox->setCurrentIndex(2);
        QStringList current;
        for (QComboBox* comboBox : Combos())
            current << comboBox->currentText();
        QCOMPARE(current.join('|'), QString("255.255.240.0   (/20)|4|14|12|4094"));
        QVERIFY(changes.count() == 1 && CountSettingChanges(changes, OctetrySettings::SubnetPolicySetting) == 1);
        QCOMPARE(ui->subnetsBitUsageEdit->toPlainText(), QString("10nnnnnn.nnnnnnnn.sssshhhh.hhhhhhhh"));
    }

private:
    static OctetrySettings* Settings() { return OctetrySettings::Instance(); }
    static void SetOptions(bool rfc1878, bool rfc3021)
    {
        Settings()->SetAllowOneSubnetBit(rfc1878), Settings()->SetAllowOneHostBit(rfc3021);
    }
    QList<QComboBox*> Combos() const
    {
        return {ui->subnetsMaskComboBox, ui->subnetBitsComboBox, ui->maxSubnetsComboBox, ui->hostBitsComboBox,
                ui->maxHostsComboBox};
    }
    void ChooseMaskBits(int bits)
    {
        ui->subnetsMaskComboBox->setCurrentIndex(
            ui->subnetsMaskComboBox->findText(QString("(/%1)").arg(bits), Qt::MatchEndsWith));
    }

    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstSubnetsTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_subnetstabcontroller.moc"
