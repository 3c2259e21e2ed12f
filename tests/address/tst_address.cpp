// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/bitusage.h"
#include "address/exceptionutil.h"
#include "address/hostname.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "common/datarows.h"
#include "common/exceptionmessage.h"
#include "common/streamread.h"

#include <QtTest>

Q_DECLARE_METATYPE(IPv4Address::Notation)
Q_DECLARE_METATYPE(BitUsage)

namespace {

using N = IPv4Address;
using Invalid = ExceptionUtil::invalid_operation;

const auto Q = [](const std::string& text) { return QString::fromStdString(text); };

// Spans written out by hand, so a fault in the product's own span builder shows.
const auto S = [](const char* color, const QString& text) {
    return QStringLiteral("<span style=\"color:%1\">%2</span>").arg(QLatin1String(color), text);
};
const auto Octets = [](const QStringList& octets) { return octets.join(S("black", ".")); };

} // namespace

class TstAddress : public QObject
{
    Q_OBJECT

private slots:
    void ipv4Text_data()
    {
        // expected: dotted decimal, or empty when refused; canonical: the address formats back to text
        AddColumns<QString, IPv4Address::Notation, QString, bool>("text", "notation", "expected", "canonical");
        const auto dd = N::DottedDecimal;
        // clang-format off
        QTest::newRow("dotted decimal") << "255.0.0.1" << dd << "255.0.0.1" << true;
        QTest::newRow("decimal") << "4294967295" << N::Decimal << "255.255.255.255" << true;
        QTest::newRow("dotted hex pads to 2") << "ac.10.00.01" << N::DottedHexadecimal << "172.16.0.1" << true;
        QTest::newRow("hex") << "0xac100001" << N::Hexadecimal << "172.16.0.1" << true;
        QTest::newRow("hex 0 has no prefix") << "0" << N::Hexadecimal << "0.0.0.0" << true;
        QTest::newRow("dotted octal pads to 3") << "254.020.000.001" << N::DottedOctal << "172.16.0.1" << true;
        QTest::newRow("octal") << "037777777777" << N::Octal << "255.255.255.255" << true;
        QTest::newRow("dotted binary pads to 8") << "10000000.00010000.00000000.00000001" << N::DottedBinary << "128.16.0.1" << true;
        QTest::newRow("binary pads to 32") << "00000000000000000000000000000101" << N::Binary << "0.0.0.5" << true;
        QTest::newRow("every kind of blank around, dot after fourth part") << "\t\n\v\f\r 1.2.3.4.\t\n\v\f\r " << dd << "1.2.3.4" << false;
        QTest::newRow("192.168 is 192.168.0.0") << "192.168" << dd << "192.168.0.0" << false;
        QTest::newRow("five parts refused") << "1.2.3.4.5" << dd << "" << false;
        QTest::newRow("256 refused") << "0.0.0.256" << dd << "" << false;
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
        // clang-format on
    }

    void ipv4Text()
    {
        QFETCH(QString, text);
        QFETCH(IPv4Address::Notation, notation);
        QFETCH(QString, expected);
        QFETCH(bool, canonical);
        IPv4Address address(0x01020304u);
        QCOMPARE(address.Parse(text.toStdString(), notation), !expected.isEmpty());
        QCOMPARE(Q(address.ToString(N::DottedDecimal)), expected);
        if (canonical)
            QCOMPARE(Q(address.ToString(notation)), text);
    }

    void ipv6Text_data()
    {
        AddColumns<QString, int, QString>("text", "notation", "expected");
        const int compressed = IPv6Address::CompressedNotation;
        // clang-format off
        QTest::newRow("all zero is ::") << "::" << compressed << "::";
        QTest::newRow("equal zero runs compress the later") << "1:0:0:2:3:0:0:4" << compressed << "1:0:0:2:3::4";
        QTest::newRow("longer run wins over a later one") << "1:0:0:0:2:0:0:3" << compressed << "1::2:0:0:3";
        QTest::newRow("single zero group stays") << "1:0:2:3:4:5:6:7" << compressed << "1:0:2:3:4:5:6:7";
        QTest::newRow("run at the end") << "dead:beef::" << compressed << "DEAD:BEEF::";
        QTest::newRow("run at the start") << "0:0:2:3:4:5:6:7" << compressed << "::2:3:4:5:6:7";
        QTest::newRow("mapped tail") << "::ffff:0:1" << compressed << "::FFFF:0.0.0.1";
        QTest::newRow("loopback is not IPv4-compatible") << "::1" << compressed << "::1";
        QTest::newRow("::2 is IPv4-compatible") << "::2" << compressed << "::0.0.0.2";
        QTest::newRow("no tail after FFFE") << "::fffe:1.2.3.4" << compressed << "::FFFE:102:304";
        QTest::newRow("no tail when byte 9 is set") << "::1:0:1.2.3.4" << compressed << "::1:0:102:304";
        QTest::newRow("uncompressed") << "1::ab" << static_cast<int>(IPv6Address::UncompressedNotation) << "1:0:0:0:0:0:0:AB";
        QTest::newRow("expanded") << "fe80::ab" << static_cast<int>(IPv6Address::ExpandedNotation) << "FE80:0000:0000:0000:0000:0000:0000:00AB";
        QTest::newRow("binary: two lines, never a tail") << "::ffff:1.2.3.4" << static_cast<int>(IPv6Address::BinaryNotation) << QStringList(4, QString(16, '0')).join(':') + "\n" + QString(16, '0') + ":1111111111111111:0000000100000010:0000001100000100";
        // clang-format on
    }

    void ipv6Text()
    {
        QFETCH(QString, text);
        QFETCH(int, notation);
        QFETCH(QString, expected);
        const IPv6Address address(text.toStdString());
        QCOMPARE(Q(address.ToString(notation)), expected);
        if (notation != IPv6Address::BinaryNotation)
            QCOMPARE(IPv6Address(expected.toStdString()), address);
    }

    void refusalsAndBytes()
    {
        IPv4Address invalid;
        QVERIFY(invalid.ToString(N::Binary).empty());
        QVERIFY(invalid < IPv4Address(0u) && !(IPv4Address(0u) < invalid) && !(invalid < invalid));
        QVERIFY(IPv4Address(0x7fffffffu) < IPv4Address(0x80000000u)); // unsigned, not signed
        for (const auto& [bits, mask] : {std::pair(0, 0u), {1, 0x80000000u}, {32, 0xffffffffu}})
            QCOMPARE(IPv4Address::CreateMask(bits), IPv4Address(mask));
        IPv4Address address(0xac100001u);
        QCOMPARE(std::as_const(address).GetByte(0), static_cast<quint8>(172));
        address.GetByte(2) = 99;
        QCOMPARE(address, IPv4Address(0xac106301u));

        IPv6Address v6("1::1");
        for (const char* refused : {"192.168.1.1", "", "localhost"})
            QVERIFY2(!v6.Parse(refused) && v6 == IPv6Address(), refused);
        QCOMPARE(v6.ToString(IPv6Address::BinaryNotation), std::string());
        QCOMPARE(IPv6Address(0x0123456789ABCDEF, 0xFEDCBA9876543210),
                 IPv6Address("123:4567:89ab:cdef:fedc:ba98:7654:3210"));
        QVERIFY(IPv6Address() != IPv6Address("::") && IPv6Address("8000::") != IPv6Address("::"));
        QVERIFY(IPv4Address() != IPv4Address(0u) && IPv4Address(1u) != IPv4Address(0u));
        v6 = IPv6Address("fe80::1");
        v6.GetByte(1) = 0x02;
        QCOMPARE(v6, IPv6Address("fe02::1"));
        QCOMPARE(std::as_const(v6).GetByte(15), static_cast<quint8>(1));
        QVERIFY(!v6.GetEmbeddedIPv4Address(address) && address == IPv4Address(0u));
        QVERIFY(IPv6Address("::ffff:1.2.3.4").GetEmbeddedIPv4Address(address) && address == IPv4Address(0x01020304u));

        const BitUsage subnetted = {{NetworkClassBit, 2}, {NetworkBit, 14}, {SubnetBit, 4}, {HostBit, 6}, {HostBit, 6}};
        QCOMPARE(GetNetworkBitCount(subnetted), 16u);
        QCOMPARE(GetHostBitCount(subnetted), 12u);
        QCOMPARE(GetNetworkPart(subnetted), BitUsage({{NetworkClassBit, 2}, {NetworkBit, 14}}));
        const QString refused("nBitRole");
        // Every function checks each entry's role, not only the ones it counts.
        const BitUsage bad = {{HostBit, 8}, {BitRole(8), 24}};
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetNetworkBitCount(bad); }), refused);
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetHostBitCount(bad); }), refused);
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { FormatBitRoleLegendHtml(bad); }), refused);
        QCOMPARE(ThrownMessage<Invalid>([] { FormatBitUsageHtml({{FixedBit, 32}}, IPv4Address()); }), "this");
    }

    // What is sent to the resolver, in its ASCII form; an empty form is never looked up.
    void hostNames_data()
    {
        AddColumns<QString, QString>("text", "ascii");
        const QString a61(61, 'a'), a63(63, 'a'), name253 = QStringList{a63, a63, a63, a61}.join('.');
        AddRow("internationalised, in ACE", QString("bücher.example"), QString("xn--bcher-kva.example"));
        AddRow("253 characters, labels of 63", name253, name253);
        AddRow("255 characters", name253 + "aa", QString());
        AddRow("a label of 64", QString(64, 'a') + ".test", QString());
        AddRow("an all-digit last label", QString("1.2.3.4.5"), QString());
        AddRow("hexadecimal", QString("0x0a000001"), QString());
        AddRow("an emoji", QString("\U0001F642"), QString());
    }
    void hostNames()
    {
        QFETCH(QString, text);
        QTEST(Q(HostName::ToAscii(text.toStdString())), "ascii");
    }

    void stream()
    {
        const IPv4Address v4(5u);
        QCOMPARE(Read("01fc100001", v4), "ok");
        QCOMPARE(Read("0000000000", v4), "ok");
        QCOMPARE(Read("010a0000", v4), "refused");
        QCOMPARE(Read("020a000001", v4), "refused");
        QCOMPARE(Read("000a000001", v4), "refused"); // an invalid address is written with the value 0
        const IPv6Address v6("1::1");
        QCOMPARE(Read("000102030405060708090a0b0c0d0e0f10", v6), "ok"); // an invalid address keeps its bytes
        QCOMPARE(Read("01fe800000000000000000000000ff8001", v6), "ok");
        QCOMPARE(Read("01000000000000000000000000000001", v6), "refused");
        QCOMPARE(Read("0200000000000000000000000000000001", v6), "refused");

        QDataStream in(QByteArray::fromHex("01fc10000101fe800000000000000000000000ff8001"));
        IPv4Address readV4;
        IPv6Address readV6;
        in >> readV4 >> readV6;
        QCOMPARE(readV4, IPv4Address(0xfc100001u));
        QCOMPARE(readV6, IPv6Address("fe80::ff:8001")); // high bits survive as signed bytes
    }

    void bitUsage_data()
    {
        AddColumns<BitUsage, QString, QString, QString>("usage", "address", "html", "legend");
        const QString n8 = S("navy", "nnnnnnnn"), h8 = S("green", "hhhhhhhh"), s8 = S("maroon", "ssssssss");
        // clang-format off
        QTest::newRow("class C shows class bits as digits, legend leaves them out") << BitUsage({{NetworkClassBit, 3}, {NetworkBit, 21}, {HostBit, 8}}) << "192.168.1.7" << Octets({S("navy", "110") + S("navy", "nnnnn"), n8, n8, h8}) << S("navy", "n=Network") + "; " + S("green", "h=Host");
        QTest::newRow("runs ending inside one octet") << BitUsage({{FixedBit, 20}, {CidrBit, 3}, {OpenBit, 9}}) << "172.16.255.1" << Octets({S("black", "10101100"), S("black", "00010000"), S("black", "1111") + S("teal", "ccc") + S("gray", "x"), S("gray", "xxxxxxxx")}) << S("teal", "c=CIDR") + "; " + S("gray", "x=Open");
        QTest::newRow("no own digits needs no address; empty runs write nothing; roles repeat") << BitUsage({{SubnetBit, 0}, {SubnetBit, 4}, {HostBit, 12}, {SubnetBit, 16}}) << "" << Octets({S("maroon", "ssss") + S("green", "hhhh"), h8, s8, s8}) << S("maroon", "s=Subnet") + "; " + S("maroon", "s=Subnet") + "; " + S("green", "h=Host") + "; " + S("maroon", "s=Subnet");
        // clang-format on
    }

    void bitUsage()
    {
        QFETCH(BitUsage, usage);
        QFETCH(QString, address);
        QTEST(Q(FormatBitUsageHtml(usage, IPv4Address(address.toStdString(), N::DottedDecimal))), "html");
        QTEST(Q(FormatBitRoleLegendHtml(usage)), "legend");
    }
};

QTEST_APPLESS_MAIN(TstAddress)
#include "tst_address.moc"
