#include "address/bitusage.h"
#include "address/exceptionutil.h"
#include "address/ipv4address.h"
#include "common/exceptionmessage.h"

#include <QDataStream>
#include <QTest>

Q_DECLARE_METATYPE(IPv4Address::Notation)
Q_DECLARE_METATYPE(BitUsage)

namespace {

using N = IPv4Address;

// Spans written out by hand, so a fault in the product's own span builder shows.
QString S(const char* color, const QString& text)
{
    return QStringLiteral("<span style=\"color:%1\">%2</span>").arg(QLatin1String(color), text);
}
QString Octets(const QString& a, const QString& b, const QString& c, const QString& d)
{
    const QString dot = S("black", ".");
    return a + dot + b + dot + c + dot + d;
}
QString Q(const std::string& text) { return QString::fromStdString(text); }

} // namespace

class TstIPv4Address : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void invalidAndOutOfRange();
    void stream_data();
    void stream();
    void bitUsage_data();
    void bitUsage();
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
    IPv4Address::RegisterMetaType(); // settings find the type by this name
    QCOMPARE(QMetaType::fromName("IPv4Address"), QMetaType::fromType<IPv4Address>());


    const BitUsage subnetted = {{NetworkClassBit, 2}, {NetworkBit, 14}, {SubnetBit, 4}, {HostBit, 6}, {HostBit, 6}};
    QCOMPARE(GetNetworkBitCount(subnetted), 16u);
    QCOMPARE(GetHostBitCount(subnetted), 12u);
    QCOMPARE(GetNetworkPart(subnetted), BitUsage({{NetworkClassBit, 2}, {NetworkBit, 14}}));
    QCOMPARE(Q(GetBitRoleName(GroupBit)) + GetBitRoleCharacter(OpenBit) + Q(GetBitRoleColor(OpenBit)), "Groupxgray");

    const QString refused("nBitRole");
    QCOMPARE(ThrownMessage<std::out_of_range>([] { GetBitRoleCharacter(-1); }), refused);
    QCOMPARE(ThrownMessage<std::out_of_range>([] { GetBitRoleName(8); }), refused);
    // Every function checks each entry's role, not only the ones it counts.
    const BitUsage bad = {{HostBit, 8}, {BitRole(8), 24}};
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetNetworkBitCount(bad); }), refused);
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetHostBitCount(bad); }), refused);
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { FormatBitRoleLegendHtml(bad); }), refused);
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([] { FormatBitUsageHtml({{FixedBit, 32}}, IPv4Address()); }),
             QString("this"));
}

void TstIPv4Address::stream_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<IPv4Address>("address");
    QTest::newRow("valid, high bit") << QByteArray::fromHex("01fc100001") << true << IPv4Address(0xfc100001u);
    QTest::newRow("invalid") << QByteArray::fromHex("0000000000") << true << IPv4Address();
    QTest::newRow("short refused") << QByteArray::fromHex("010a0000") << false << IPv4Address();
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
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    out << read;
    QCOMPARE(written, ok ? bytes : QByteArray::fromHex("0000000000"));
}

void TstIPv4Address::bitUsage_data()
{
    QTest::addColumn<BitUsage>("usage");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("legend");
    const QString n8 = S("navy", "nnnnnnnn"), h8 = S("green", "hhhhhhhh"), s8 = S("maroon", "ssssssss");
    QTest::newRow("class C shows class bits as digits, legend leaves them out")
        << BitUsage({{NetworkClassBit, 3}, {NetworkBit, 21}, {HostBit, 8}}) << "192.168.1.7" << Octets(S("navy", "110") + S("navy", "nnnnn"), n8, n8, h8)
        << S("navy", "n=Network") + "; " + S("green", "h=Host");
    QTest::newRow("runs ending inside one octet")
        << BitUsage({{FixedBit, 20}, {CidrBit, 3}, {OpenBit, 9}}) << "172.16.255.1"
        << Octets(S("black", "10101100"), S("black", "00010000"), S("black", "1111") + S("teal", "ccc") + S("gray", "x"),
                  S("gray", "xxxxxxxx"))
        << S("teal", "c=CIDR") + "; " + S("gray", "x=Open");
    QTest::newRow("no own digits needs no address; empty runs write nothing; roles repeat")
        << BitUsage({{SubnetBit, 0}, {SubnetBit, 4}, {HostBit, 12}, {SubnetBit, 16}}) << ""
        << Octets(S("maroon", "ssss") + S("green", "hhhh"), h8, s8, s8)
        << S("maroon", "s=Subnet") + "; " + S("maroon", "s=Subnet") + "; " + S("green", "h=Host") + "; "
               + S("maroon", "s=Subnet");
}

void TstIPv4Address::bitUsage()
{
    QFETCH(BitUsage, usage);
    QFETCH(QString, address);
    QFETCH(QString, html);
    QFETCH(QString, legend);
    const IPv4Address ip(address.toStdString(), IPv4Address::DottedDecimal);
    QCOMPARE(Q(FormatBitUsageHtml(usage, ip)), html);
    QCOMPARE(Q(FormatBitRoleLegendHtml(usage)), legend);
}

QTEST_APPLESS_MAIN(TstIPv4Address)
#include "tst_ipv4address.moc"
