#include "common/testenvironment.h"

#include "address/ipv4address.h"
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "settings/octetrysettings.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace
{
const QString kCaption = QStringLiteral("Class Bit &Usage");

void TypeOver(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QString StoredAddress()
{
    return QString::fromStdString(
        OctetrySettings::Instance()->GetIPv4Address().ToString(IPv4Address::DottedDecimal));
}
} // namespace

class TstClassesTabController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void comboHoldsTheNineClasses();
    void loopbackAddress();
    void typedAddressSelectsItsClass_data();
    void typedAddressSelectsItsClass();
    void pickingAClassClampsTheAddress_data();
    void pickingAClassClampsTheAddress();
    void pickingBroadcastReachesEveryPage();
    void pickingAClassWithoutAddressTakesItsFirst();
    void invalidAddressDisablesAllButTheEntry();
    void repeatedUpdatesShowOneLegend();

private:
    void Pick(const QString& className);

    std::unique_ptr<MainForm> form;
    Ui::OctetryMainForm* ui = nullptr;
};

void TstClassesTabController::initTestCase()
{
    form = std::make_unique<MainForm>();
    ui = form->GetUi();
    ui->tabWidget->setCurrentWidget(ui->classesTab);
}

void TstClassesTabController::init()
{
    ui->tabWidget->setCurrentWidget(ui->classesTab);
    TypeOver(ui->classesAddressEdit, "10.1.2.3");
}

void TstClassesTabController::cleanupTestCase()
{
    form.reset();
}

void TstClassesTabController::Pick(const QString& className)
{
    const int index = ui->classesComboBox->findText(className);
    QVERIFY(index >= 0);
    // What a choice in the drop-down list does.
    ui->classesComboBox->setCurrentIndex(index);
}

void TstClassesTabController::comboHoldsTheNineClasses()
{
    const QStringList expected = {"\"This\" Host", "\"This\" Network", "Class A", "Loopback",
                                  "Class B", "Class C", "Class D/Multicast",
                                  "Class E/Experimental", "Broadcast"};
    QStringList names;
    for (int index = 0; index < ui->classesComboBox->count(); ++index)
    {
        names << ui->classesComboBox->itemText(index);
        QCOMPARE(ui->classesComboBox->itemData(index).typeName(), "IPv4AddressClass");
    }
    QCOMPARE(names, expected);
}

void TstClassesTabController::loopbackAddress()
{
    TypeOver(ui->classesAddressEdit, "127.0.0.1");
    QCOMPARE(ui->classesComboBox->currentText(), QString("Loopback"));
    QCOMPARE(ui->classAddressRangeEdit->text(), QString("127.0.0.0 - 127.255.255.255"));
    QCOMPARE(ui->classBitUsageLabel->text(),
             kCaption + " (<span style=\"color:gray\">x=Open</span>)");
    const QString html = ui->classBitUsageEdit->toHtml();
    QVERIFY2(html.contains("01111111"), qPrintable(html));
    QCOMPARE(ui->classBitUsageEdit->toPlainText(), QString("01111111.xxxxxxxx.xxxxxxxx.xxxxxxxx"));
    QVERIFY(ui->classBitUsageEdit->isEnabled());
    QVERIFY(ui->classBitUsageLabel->isEnabled());
}

void TstClassesTabController::typedAddressSelectsItsClass_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("range");

    QTest::newRow("0.0.0.0 is this host") << "0.0.0.0" << "\"This\" Host" << "0.0.0.0";
    QTest::newRow("0.0.0.1 is this network")
        << "0.0.0.1" << "\"This\" Network" << "0.0.0.1 - 0.255.255.255";
    QTest::newRow("126.255.255.255 is class A")
        << "126.255.255.255" << "Class A" << "1.0.0.0 - 126.255.255.255";
    QTest::newRow("128.0.0.0 is class B")
        << "128.0.0.0" << "Class B" << "128.0.0.0 - 191.255.255.255";
    QTest::newRow("192.168.1.7 is class C")
        << "192.168.1.7" << "Class C" << "192.0.0.0 - 223.255.255.255";
    QTest::newRow("224.0.0.1 is multicast")
        << "224.0.0.1" << "Class D/Multicast" << "224.0.0.0 - 239.255.255.255";
    QTest::newRow("255.255.255.254 is experimental")
        << "255.255.255.254" << "Class E/Experimental" << "240.0.0.0 - 255.255.255.254";
    QTest::newRow("255.255.255.255 is broadcast")
        << "255.255.255.255" << "Broadcast" << "255.255.255.255";
}

void TstClassesTabController::typedAddressSelectsItsClass()
{
    QFETCH(QString, address);
    QFETCH(QString, className);
    QFETCH(QString, range);

    TypeOver(ui->classesAddressEdit, address);
    QCOMPARE(ui->classesComboBox->currentText(), className);
    QCOMPARE(ui->classAddressRangeEdit->text(), range);
    // The edit keeps what was typed, and the new selection is not taken as a choice.
    QCOMPARE(ui->classesAddressEdit->text(), address);
    QCOMPARE(StoredAddress(), address);
}

void TstClassesTabController::pickingAClassClampsTheAddress_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("address");

    QTest::newRow("class C gives 192.1.2.3") << "Class C" << "192.1.2.3";
    QTest::newRow("loopback gives 127.1.2.3") << "Loopback" << "127.1.2.3";
    QTest::newRow("this host gives 0.0.0.0") << "\"This\" Host" << "0.0.0.0";
    QTest::newRow("class A keeps 10.1.2.3") << "Class A" << "10.1.2.3";
}

void TstClassesTabController::pickingAClassClampsTheAddress()
{
    QFETCH(QString, className);
    QFETCH(QString, address);

    QSignalSpy changes(OctetrySettings::Instance(), &OctetrySettings::SettingChanged);
    Pick(className);
    QCOMPARE(StoredAddress(), address);
    QCOMPARE(ui->classesAddressEdit->text(), address);
    QCOMPARE(ui->classesComboBox->currentText(), className);
    QCOMPARE(changes.count(), address == "10.1.2.3" ? 0 : 1);
}

void TstClassesTabController::pickingBroadcastReachesEveryPage()
{
    Pick("Broadcast");
    QCOMPARE(StoredAddress(), QString("255.255.255.255"));
    QCOMPARE(ui->classAddressRangeEdit->text(), QString("255.255.255.255"));
    QCOMPARE(ui->classesAddressEdit->text(), QString("255.255.255.255"));

    ui->tabWidget->setCurrentWidget(ui->conversionsTab);
    QCOMPARE(ui->dottedDecEdit->text(), QString("255.255.255.255"));
    QCOMPARE(ui->hexEdit->text(), QString("0xffffffff"));
}

void TstClassesTabController::pickingAClassWithoutAddressTakesItsFirst()
{
    TypeOver(ui->classesAddressEdit, "x");
    QCOMPARE(ui->classesComboBox->currentIndex(), -1);
    Pick("Class B");
    QCOMPARE(StoredAddress(), QString("128.0.0.0"));
    QCOMPARE(ui->classesAddressEdit->text(), QString("128.0.0.0"));
    QVERIFY(ui->classesComboBox->isEnabled());
}

void TstClassesTabController::invalidAddressDisablesAllButTheEntry()
{
    ui->classesAddressEdit->selectAll();
    QTest::keyClick(ui->classesAddressEdit, Qt::Key_Delete);
    QCOMPARE(ui->classesAddressEdit->text(), QString());
    QVERIFY(!OctetrySettings::Instance()->GetIPv4Address().IsValid());

    QVERIFY(ui->classesAddressEdit->isEnabled());
    QVERIFY(ui->classesAddressLabel->isEnabled());
    QVERIFY(ui->classesAddressToolButton->isEnabled()
            || ui->classesAddressToolButton->menu()->actions().isEmpty());

    QVERIFY(!ui->classesComboBox->isEnabled());
    QCOMPARE(ui->classesComboBox->currentIndex(), -1);
    QVERIFY(!ui->classAddressRangeEdit->isEnabled());
    QCOMPARE(ui->classAddressRangeEdit->text(), QString());
    QVERIFY(!ui->classBitUsageLabel->isEnabled());
    QCOMPARE(ui->classBitUsageLabel->text(), kCaption);
    QVERIFY(!ui->classBitUsageEdit->isEnabled());
    QCOMPARE(ui->classBitUsageEdit->toPlainText(), QString());

    TypeOver(ui->classesAddressEdit, "192.168.1.7");
    QVERIFY(ui->classesComboBox->isEnabled());
    QCOMPARE(ui->classesComboBox->currentText(), QString("Class C"));
    QVERIFY(ui->classBitUsageEdit->isEnabled());
    QCOMPARE(ui->classBitUsageEdit->toPlainText(), QString("110nnnnn.nnnnnnnn.nnnnnnnn.hhhhhhhh"));
}

void TstClassesTabController::repeatedUpdatesShowOneLegend()
{
    TypeOver(ui->classesAddressEdit, "10.1.2.3");
    TypeOver(ui->classesAddressEdit, "10.9.9.9");
    QCOMPARE(ui->classBitUsageLabel->text(),
             kCaption + " (<span style=\"color:navy\">n=Network</span>; "
                        "<span style=\"color:green\">h=Host</span>)");
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    TstClassesTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_classestabcontroller.moc"
