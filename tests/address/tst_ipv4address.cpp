#include "address/exceptionutil.h"
#include "address/ipv4address.h"
#include "common/exceptionmessage.h"

#include <QDataStream>
#include <QTest>
#include <QVariant>

Q_DECLARE_METATYPE(IPv4Address::Notation)

using N = IPv4Address;

class TstIPv4Address : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void invalidAndOutOfRange();
    void stream_data();
    void stream();
};

void TstIPv4Address::text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<IPv4Address::Notation>("notation");
    QTest::addColumn<QString>("expected"); // dotted decimal, or empty when refused
    QTest::addColumn<bool>("canonical");   // the address formats back to text
    const auto dd = N::DottedDecimal;
    QTest::newRow("dotted decimal") << "255.0.0.1" << dd << "255.0.0.1" << true;
    QTest::newRow("decimal") << "4294967295" << N::Decimal << "255.255.255.255" << true;
    QTest::newRow("dotted hex pads to 2") << "ac.10.00.01" << N::DottedHexadecimal << "172.16.0.1" << true;
    QTest::newRow("hex") << "0xac100001" << N::Hexadecimal << "172.16.0.1" << true;
    QTest::newRow("hex 0 has no prefix") << "0" << N::Hexadecimal << "0.0.0.0" << true;
    QTest::newRow("dotted octal pads to 3") << "254.020.000.001" << N::DottedOctal << "172.16.0.1" << true;
    QTest::newRow("octal") << "037777777777" << N::Octal << "255.255.255.255" << true;
    QTest::newRow("octal 0 has no prefix") << "0" << N::Octal << "0.0.0.0" << true;
    QTest::newRow("dotted binary pads to 8") << "10000000.00010000.00000000.00000001" << N::DottedBinary
                                             << "128.16.0.1" << true;
    QTest::newRow("binary pads to 32") << "00000000000000000000000000000101" << N::Binary << "0.0.0.5" << true;
    QTest::newRow("blanks around, dot after fourth part") << " 1.2.3.4. " << dd << "1.2.3.4" << false;
    QTest::newRow("192.168 is 192.168.0.0") << "192.168" << dd << "192.168.0.0" << false;
    QTest::newRow("five parts refused") << "1.2.3.4.5" << dd << "" << false;
    QTest::newRow("empty part refused") << "1..2" << dd << "" << false;
    QTest::newRow("256 refused") << "0.0.0.256" << dd << "" << false;
    QTest::newRow("negative part refused") << "-1.0.0.0" << dd << "" << false;
    QTest::newRow("trailing letter refused") << "1.2.3.4x" << dd << "" << false;
    QTest::newRow("empty refused") << "" << N::Binary << "" << false;
    QTest::newRow("nine binary digits refused") << "111111111.0.0.0" << N::DottedBinary << "" << false;
    QTest::newRow("33 binary digits refused") << QString(33, '1') << N::Binary << "" << false;
    QTest::newRow("decimal beyond 32 bits refused") << "4294967296" << N::Decimal << "" << false;
    QTest::newRow("negative decimal wraps") << "-1" << N::Decimal << "255.255.255.255" << false;
    QTest::newRow("octal digit 8 refused") << "8" << N::Octal << "" << false;
    QTest::newRow("upper-case hex with 0X") << "0XAC100001" << N::Hexadecimal << "172.16.0.1" << false;
    QTest::newRow("bare 0x refused") << "0x" << N::Hexadecimal << "" << false;
    QTest::newRow("dotted hex upper case") << "C0.A8.0.f" << N::DottedHexadecimal << "192.168.0.15" << false;
    QTest::newRow("dotted octal 400 refused") << "400.0.0.0" << N::DottedOctal << "" << false;
}

void TstIPv4Address::text()
{
    QFETCH(QString, text);
    QFETCH(IPv4Address::Notation, notation);
    QFETCH(QString, expected);
    QFETCH(bool, canonical);
    IPv4Address address(0x01020304u);
    QCOMPARE(address.Parse(text.toStdString(), notation), !expected.isEmpty());
    QCOMPARE(QString::fromStdString(address.ToString(N::DottedDecimal)), expected);
    if (canonical)
        QCOMPARE(QString::fromStdString(address.ToString(notation)), text);
}

void TstIPv4Address::invalidAndOutOfRange()
{
    IPv4Address invalid;
    QVERIFY(invalid.ToString(N::Binary).empty());
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { invalid.GetByte(0); }), QString("this"));
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4Address(1u).ToString({7, false}); }), QString("nNotation"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { invalid.Parse("1", {3, true}); }), QString("nNotation"));
    QVERIFY(invalid < IPv4Address(0u) && !(IPv4Address(0u) < invalid) && !(invalid < invalid));
    QVERIFY(IPv4Address(0x7fffffffu) < IPv4Address(0x80000000u)); // unsigned, not signed

    QCOMPARE(IPv4Address::CreateMask(0), IPv4Address(0u));
    QCOMPARE(IPv4Address::CreateMask(1), IPv4Address(0x80000000u));
    QCOMPARE(IPv4Address::CreateMask(32), IPv4Address(0xffffffffu));
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4Address::CreateMask(33); }), QString("nMaskBits"));

    IPv4Address address(0xac100001u);
    QCOMPARE(std::as_const(address).GetByte(0), quint8(172));
    address.GetByte(2) = 99;
    QCOMPARE(address, IPv4Address(0xac106301u));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { address.GetByte(4); }), QString("nByteIndex"));
}

void TstIPv4Address::stream_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<IPv4Address>("address");
    QTest::newRow("valid, high bit") << QByteArray::fromHex("01fc100001") << true << IPv4Address(0xfc100001u);
    QTest::newRow("invalid") << QByteArray::fromHex("0000000000") << true << IPv4Address();
    QTest::newRow("short refused") << QByteArray::fromHex("010a0000") << false << IPv4Address();
    QTest::newRow("flag 2 refused") << QByteArray::fromHex("020a000001") << false << IPv4Address();
    QTest::newRow("invalid with a value refused") << QByteArray::fromHex("000a000001") << false << IPv4Address();
}

void TstIPv4Address::stream()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(IPv4Address, address);
    QDataStream in(bytes);
    IPv4Address read(5u);
    in >> read;
    QCOMPARE(in.status() == QDataStream::Ok, ok);
    QCOMPARE(read, address);
    // Written back the same, also inside a variant found by its type name.
    IPv4Address::RegisterMetaType();
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    out << QVariant::fromValue(address);
    QVERIFY(!ok || written.endsWith(bytes));
    QVariant variant;
    QDataStream variantIn(written);
    variantIn >> variant;
    QCOMPARE(variant.value<IPv4Address>(), address);
}

QTEST_APPLESS_MAIN(TstIPv4Address)
#include "tst_ipv4address.moc"
