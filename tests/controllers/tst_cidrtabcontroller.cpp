#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"
#include "ui_octetrymainform.h"

#include <QApplication>

class TstCidrTabController : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        form.show();
        ui->tabWidget->setCurrentWidget(ui->cidrTab);
        TypeOver(ui->cidrAddressEdit, "10.200.3.4");
        ui->addressBlockMaskComboBox->setCurrentIndex(15);
        PickMask(20);
    }

    void pageFollowsAddressBlockAndMask_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("blocks");   // chosen in turn
        QTest::addColumn<int>("maskBits");     // 0: none chosen
        QTest::addColumn<QString>("expected"); // range; items first-last at current; rows|selected|route|range
        QTest::newRow("/16 to /8 keeps /20")
            << "10.200.3.4"
            << "8" << 0 << "10.0.0.0 - 10.255.255.255; 24 9-32 at 20; 4096|3200|10.200.0.0|10.200.0.0 - 10.200.15.255";
        QTest::newRow("/24 with /32 has no ranges")
            << "10.200.3.4"
            << "24" << 32 << "10.200.3.0 - 10.200.3.255; 8 25-32 at 32; 256|4|10.200.3.4|N/A";
        QTest::newRow("/1 with /32: window at the start")
            << "0.0.1.0"
            << "1" << 32 << "0.0.0.0 - 127.255.255.255; 31 2-32 at 32; 16777216|256|0.0.1.0|N/A";
        QTest::newRow("/1 with /32: window at the end")
            << "255.255.255.254"
            << "1" << 32 << "128.0.0.0 - 255.255.255.255; 31 2-32 at 32; 16777216|16777214|255.255.255.254|N/A";
        QTest::newRow("/32 shows only its range") << "10.200.3.4"
                                                  << "32" << 0 << "10.200.3.4; disabled; 0|-1";
        QTest::newRow("/32 then /24 works")
            << "192.168.1.7"
            << "32 24" << 0
            << "192.168.1.0 - 192.168.1.255; 8 25-32 at 25; 2|0|192.168.1.0|192.168.1.0 - 192.168.1.127";
    }
    void pageFollowsAddressBlockAndMask()
    {
        QFETCH(QString, address);
        QFETCH(QString, blocks);
        QFETCH(int, maskBits);
        QFETCH(QString, expected);
        TypeOver(ui->cidrAddressEdit, address);
        for (const QString& block : blocks.split(' '))
            ui->addressBlockMaskComboBox->setCurrentIndex(block.toInt() - 1);
        if (maskBits > 0)
            PickMask(maskBits);
        const QStringList texts = ComboTexts(ui->cidrMaskComboBox);
        const bool enabled = ui->cidrMaskComboBox->currentIndex() >= 0;
        auto bits = [](const QString& text) { return text.section('/', 1).remove(')'); };
        const QModelIndexList rows = ui->cidrTableView->selectionModel()->selectedRows();
        QStringList seen{QString::number(ui->cidrTableView->model()->rowCount()),
                         QString::number(rows.isEmpty() ? -1 : rows.first().row())};
        if (!rows.isEmpty())
            seen << rows.first().data().toString() << rows.first().siblingAtColumn(1).data().toString();
        QCOMPARE(ui->addressBlockRangeEdit->text() + "; "
                     + (enabled ? QString("%1 %2-%3 at %4")
                                      .arg(texts.size())
                                      .arg(bits(texts.first()), bits(texts.last()),
                                           bits(ui->cidrMaskComboBox->currentText()))
                                : QString("disabled"))
                     + "; " + seen.join('|'),
                 expected);
        for (const QComboBox* comboBox : {ui->cidrBitsComboBox, ui->cidrMaxNetworksComboBox})
            QVERIFY(comboBox->isEnabled() == enabled
                    && comboBox->currentIndex() == ui->cidrMaskComboBox->currentIndex());
        QCOMPARE(ui->cidrBitUsageEdit->isEnabled(), enabled);
        if (!rows.isEmpty()) // scrolled into view, also right after a smaller table
            QVERIFY(
                ui->cidrTableView->viewport()->rect().contains(ui->cidrTableView->visualRect(rows.first()).center()));
    }

    void oneChoiceStoresOnceAndMovesAllThree()
    {
        QSignalSpy changes(OctetrySettings::Instance(), &OctetrySettings::SettingChanged);
        ui->cidrMaxNetworksComboBox->setCurrentIndex(5);
        QStringList current;
        for (const QComboBox* comboBox : {ui->cidrBitsComboBox, ui->cidrMaxNetworksComboBox, ui->cidrMaskComboBox})
            current << comboBox->currentText();
        QCOMPARE(current.join('|'), QString("6|64|255.255.252.0   (/22)"));
        QVERIFY(changes.count() == 1 && CountSettingChanges(changes, OctetrySettings::CidrPolicySetting) == 1);
        QCOMPARE(ui->cidrBitUsageEdit->toPlainText(), QString("00001010.11001000.cccccc"
                                                              "xx.xxxxxxxx"));
    }

private:
    void PickMask(int maskBits)
    {
        ui->cidrMaskComboBox->setCurrentIndex(
            ui->cidrMaskComboBox->findText(QString("(/%1)").arg(maskBits), Qt::MatchEndsWith));
    }

    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstCidrTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cidrtabcontroller.moc"
