#include <QtTest>
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "common/formtestutil.h"
#include "common/testenvironment.h"

class TstConversionsTabController : public QObject
{
    Q_OBJECT
    MainForm form;
    Ui::OctetryMainForm* ui = form.GetUi();

private slots:
    void initTestCase() { ui->tabWidget->setCurrentWidget(ui->conversionsTab); }
    void octalRowsShownWithTheOption() { QVERIFY(!ui->octContainerWidget->isHidden()); }
    void typing_data()
    {
        QTest::addColumn<QString>("editName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("multicast");
        QTest::newRow("hex c0a80001 gives 192.168.0.1") << "hexEdit" << "c0a80001" << "c0a80001" << "192.168.0.1" << "0xc0a80001" << "";
        QTest::newRow("hex refuses the x of a lone 0x") << "hexEdit" << "0x" << "0" << "0.0.0.0" << "0" << "";
        QTest::newRow("dotted hex 10 gives 16.0.0.0") << "dottedHexEdit" << "10" << "10" << "16.0.0.0" << "10.00.00.00" << "";
        QTest::newRow("decimal refuses a letter") << "decEdit" << "5a" << "5" << "0.0.0.5" << "5" << "";
        QTest::newRow("decimal refuses 4294967296") << "decEdit" << "4294967296" << "429496729" << "25.153.153.153" << "429496729" << "";
        QTest::newRow("dotted binary 1..1 invalidates the page") << "dottedBinEdit" << "1..1" << "1..1" << "" << "" << "";
        QTest::newRow("dotted binary with short parts") << "dottedBinEdit" << "1.10.11.0" << "1.10.11.0" << "1.2.3.0" << "00000001.00000010.00000011.00000000" << "";
        QTest::newRow("octal gives 172.16.0.1") << "octEdit" << "25404000001" << "25404000001" << "172.16.0.1" << "025404000001" << "";
        QTest::newRow("239.255.255.250 is multicast") << "dottedDecEdit" << "239.255.255.250" << "239.255.255.250" << "239.255.255.250" << "239.255.255.250" << "01:00:5E:7F:FF:FA";
        QTest::newRow("10.0.0.1 is no multicast") << "dottedDecEdit" << "10.0.0.1" << "10.0.0.1" << "10.0.0.1" << "10.0.0.1" << "";
        QTest::newRow("240.0.0.1 of class E is no multicast") << "dottedDecEdit" << "240.0.0.1" << "240.0.0.1" << "240.0.0.1" << "240.0.0.1" << "";
    }
    void typing()
    {
        QFETCH(QString, editName);
        QFETCH(QString, typed);
        QLineEdit* edit = form.findChild<QLineEdit*>(editName);
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

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    QSettings().setValue("ShowOctalConversions", true); // by hand before the store loads, as a user would
    TstConversionsTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_conversionstabcontroller.moc"
