#include "common/testenvironment.h"

#include "address/ipv4address.h"
#include "app/brandingutil.h"
#include "app/mainform.h"
#include "settings/octetrysettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace
{
// Replaces the whole text of an edit by typing, as a user selecting it first would.
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

void Store(const char* dottedDecimal)
{
    OctetrySettings::Instance()->SetIPv4Address(
        IPv4Address(dottedDecimal, IPv4Address::DottedDecimal));
}
} // namespace

class TstConversionsTabController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void typingANotation_data();
    void typingANotation();
    void refusedDottedTextEmptiesButKeepsThePageEnabled();
    void refusedKeys_data();
    void refusedKeys();
    void lastDigitCannotBeDeleted();
    void pastedTextIsTrimmedAndTakesThePrefix();
    void multicastRow_data();
    void multicastRow();
    void octalRowsShownWhenTheOptionIsSet();

private:
    QLineEdit* Edit(const QString& name) const;

    std::unique_ptr<MainForm> form;
    Ui::OctetryMainForm* ui = nullptr;
};

QLineEdit* TstConversionsTabController::Edit(const QString& name) const
{
    return form->findChild<QLineEdit*>(name);
}

void TstConversionsTabController::initTestCase()
{
    form = std::make_unique<MainForm>();
    ui = form->GetUi();
    ui->tabWidget->setCurrentWidget(ui->conversionsTab);
}

void TstConversionsTabController::init()
{
    Store("0.0.0.0");
}

void TstConversionsTabController::cleanupTestCase()
{
    form.reset();
}

void TstConversionsTabController::typingANotation_data()
{
    QTest::addColumn<QString>("editName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shownOnLeaving");

    QTest::newRow("hex c0a80001 gives 192.168.0.1")
        << "hexEdit" << "c0a80001" << "192.168.0.1" << "0xc0a80001";
    QTest::newRow("dotted hex 10 gives 16.0.0.0")
        << "dottedHexEdit" << "10" << "16.0.0.0" << "10.00.00.00";
    QTest::newRow("dotted hex 1 is padded on leaving")
        << "dottedHexEdit" << "1" << "1.0.0.0" << "01.00.00.00";
    QTest::newRow("dotted hex in upper case is lowered on leaving")
        << "dottedHexEdit" << "AC.10.0.1" << "172.16.0.1" << "ac.10.00.01";
    QTest::newRow("decimal 2886729729 gives 172.16.0.1")
        << "decEdit" << "2886729729" << "172.16.0.1" << "2886729729";
    QTest::newRow("dotted binary with short parts")
        << "dottedBinEdit" << "1.10.11.0" << "1.2.3.0" << "00000001.00000010.00000011.00000000";
    QTest::newRow("binary 101 gives 0.0.0.5")
        << "binEdit" << "101" << "0.0.0.5" << "00000000000000000000000000000101";
    QTest::newRow("dotted octal gives 172.16.0.1")
        << "dottedOctEdit" << "254.20.0.1" << "172.16.0.1" << "254.020.000.001";
    QTest::newRow("octal gives 172.16.0.1")
        << "octEdit" << "25404000001" << "172.16.0.1" << "025404000001";
    QTest::newRow("dotted decimal 10.1 gives 10.1.0.0")
        << "dottedDecEdit" << "10.1" << "10.1.0.0" << "10.1.0.0";
}

void TstConversionsTabController::typingANotation()
{
    QFETCH(QString, editName);
    QFETCH(QString, typed);
    QFETCH(QString, address);
    QFETCH(QString, shownOnLeaving);

    QLineEdit* typedInto = Edit(editName);
    QVERIFY(typedInto);
    TypeOver(typedInto, typed);

    QCOMPARE(StoredAddress(), address);
    QCOMPARE(typedInto->text(), typed);
    const IPv4Address expected(address.toStdString(), IPv4Address::DottedDecimal);
    const struct
    {
        QLineEdit* edit;
        IPv4Address::Notation notation;
    } others[] = {
        {ui->dottedDecEdit, IPv4Address::DottedDecimal}, {ui->decEdit, IPv4Address::Decimal},
        {ui->dottedHexEdit, IPv4Address::DottedHexadecimal}, {ui->hexEdit, IPv4Address::Hexadecimal},
        {ui->dottedBinEdit, IPv4Address::DottedBinary}, {ui->binEdit, IPv4Address::Binary},
        {ui->dottedOctEdit, IPv4Address::DottedOctal}, {ui->octEdit, IPv4Address::Octal},
    };
    for (const auto& other : others)
        if (other.edit != typedInto)
            QCOMPARE(other.edit->text(), QString::fromStdString(expected.ToString(other.notation)));

    QTest::keyClick(typedInto, Qt::Key_Return);
    QCOMPARE(typedInto->text(), shownOnLeaving);
    QCOMPARE(StoredAddress(), address);
}

void TstConversionsTabController::refusedDottedTextEmptiesButKeepsThePageEnabled()
{
    Store("224.0.0.1");
    QVERIFY(ui->multicastEdit->isEnabled());

    TypeOver(ui->dottedBinEdit, "1..1");
    QCOMPARE(ui->dottedBinEdit->text(), QString("1..1"));
    QVERIFY(!OctetrySettings::Instance()->GetIPv4Address().IsValid());
    for (QLineEdit* edit : {ui->dottedDecEdit, ui->decEdit, ui->dottedHexEdit, ui->hexEdit,
                            ui->binEdit, ui->dottedOctEdit, ui->octEdit})
    {
        QCOMPARE(edit->text(), QString());
        QVERIFY2(edit->isEnabled(), qPrintable(edit->objectName()));
    }
    QVERIFY(!ui->multicastLabel->isEnabled());
    QVERIFY(!ui->multicastEdit->isEnabled());
    QCOMPARE(ui->multicastEdit->text(), QString());

    QTest::keyClick(ui->dottedBinEdit, Qt::Key_Return);
    QCOMPARE(ui->dottedBinEdit->text(), QString());
}

void TstConversionsTabController::refusedKeys_data()
{
    QTest::addColumn<QString>("editName");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("decimal refuses a letter") << "decEdit" << "5" << "a" << "5";
    QTest::newRow("decimal refuses a minus sign") << "decEdit" << "5" << "-" << "5";
    QTest::newRow("decimal refuses 4294967296") << "decEdit" << "429496729" << "6" << "429496729";
    QTest::newRow("decimal takes 4294967295") << "decEdit" << "429496729" << "5" << "4294967295";
    QTest::newRow("hex refuses the x of a lone 0x") << "hexEdit" << "0" << "x" << "0";
    QTest::newRow("hex refuses g") << "hexEdit" << "f" << "g" << "f";
    QTest::newRow("dotted hex takes both cases and dots")
        << "dottedHexEdit" << "a" << "B.cD.Ef.9" << "aB.cD.Ef.9";
    QTest::newRow("dotted hex refuses G") << "dottedHexEdit" << "1" << "G" << "1";
    QTest::newRow("dotted binary refuses 2") << "dottedBinEdit" << "1" << "2" << "1";
    QTest::newRow("binary refuses a dot") << "binEdit" << "1" << "." << "1";
    QTest::newRow("dotted octal refuses 8") << "dottedOctEdit" << "7" << "8" << "7";
    QTest::newRow("dotted decimal edit takes any text") << "dottedDecEdit" << "1" << "x" << "1x";
}

void TstConversionsTabController::refusedKeys()
{
    QFETCH(QString, editName);
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    QLineEdit* edit = Edit(editName);
    QVERIFY(edit);
    TypeOver(edit, start);
    QCOMPARE(edit->text(), start);
    edit->end(false);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
}

void TstConversionsTabController::lastDigitCannotBeDeleted()
{
    TypeOver(ui->decEdit, "7");
    QTest::keyClick(ui->decEdit, Qt::Key_Backspace);
    QCOMPARE(ui->decEdit->text(), QString("7"));
    QCOMPARE(StoredAddress(), QString("0.0.0.7"));
}

void TstConversionsTabController::pastedTextIsTrimmedAndTakesThePrefix()
{
    ui->hexEdit->selectAll();
    ui->hexEdit->insert("0xc0a80001");
    QCOMPARE(ui->hexEdit->text(), QString("0xc0a80001"));
    QCOMPARE(StoredAddress(), QString("192.168.0.1"));

    ui->decEdit->selectAll();
    ui->decEdit->insert(" 7 ");
    QCOMPARE(ui->decEdit->text(), QString("7"));
    QCOMPARE(StoredAddress(), QString("0.0.0.7"));
}

void TstConversionsTabController::multicastRow_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("multicast");

    QTest::newRow("239.255.255.250 is multicast") << "239.255.255.250" << "01:00:5E:7F:FF:FA";
    QTest::newRow("224.0.0.1 is multicast") << "224.0.0.1" << "01:00:5E:00:00:01";
    QTest::newRow("224.128.1.2 loses the top bit of its second byte")
        << "224.128.1.2" << "01:00:5E:00:01:02";
    QTest::newRow("10.0.0.1 is no multicast") << "10.0.0.1" << "";
    QTest::newRow("240.0.0.1 of class E is no multicast") << "240.0.0.1" << "";
}

void TstConversionsTabController::multicastRow()
{
    QFETCH(QString, address);
    QFETCH(QString, multicast);

    TypeOver(ui->dottedDecEdit, address);
    QCOMPARE(ui->multicastEdit->text(), multicast);
    QCOMPARE(ui->multicastEdit->isEnabled(), !multicast.isEmpty());
    QCOMPARE(ui->multicastLabel->isEnabled(), !multicast.isEmpty());
}

void TstConversionsTabController::octalRowsShownWhenTheOptionIsSet()
{
    QVERIFY(!ui->octContainerWidget->isHidden());
    TypeOver(ui->dottedDecEdit, "255.255.255.255");
    QCOMPARE(ui->dottedOctEdit->text(), QString("377.377.377.377"));
    QCOMPARE(ui->octEdit->text(), QString("037777777777"));
}

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QApplication app(argc, argv);
    BrandingUtil::SetApplicationIdentity();
    // Set by hand before the store first loads, as a user would in the settings file.
    QSettings().setValue("ShowOctalConversions", true);
    TstConversionsTabController test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_conversionstabcontroller.moc"
