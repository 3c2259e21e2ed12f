// The arithmetic of every policy is checked against a counting reference in
// tst_arithmeticoracle; this file covers classes, refusals and stream layouts.

#include "address/exceptionutil.h"
#include "common/exceptionmessage.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QDataStream>
#include <QTest>

using C = IPv4AddressClass;

// Reads bytes over a valid value: "ok" when they read and write back the same,
// "refused" when the stream fails and the value falls back to the default.
template <typename T>
QString Read(const char* hex, T value)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    QDataStream in(bytes);
    in >> value;
    if (in.status() != QDataStream::Ok)
        return value == T() && !value.IsValid() ? "refused" : "kept";
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    out << value;
    return written == bytes ? "ok" : "changed";
}

class TstIPv4Policies : public QObject
{
    Q_OBJECT

private slots:
    void classOfAddress_data();
    void classOfAddress();
    void refusals();
    void stream();
};

void TstIPv4Policies::classOfAddress_data()
{
    QTest::addColumn<quint32>("address");
    QTest::addColumn<int>("classId");
    QTest::newRow("0.0.0.0 is This Host") << 0u << int(C::ThisHostClass);
    QTest::newRow("0.255.255.255 is This Network") << 0x00ffffffu << int(C::ThisNetworkClass);
    QTest::newRow("1.0.0.0 is A") << 0x01000000u << int(C::ClassA);
    QTest::newRow("127.0.0.0 is Loopback") << 0x7f000000u << int(C::LoopbackClass);
    QTest::newRow("191.255.255.255 is B") << 0xbfffffffu << int(C::ClassB);
    QTest::newRow("223.255.255.255 is C") << 0xdfffffffu << int(C::ClassC);
    QTest::newRow("224.0.0.0 is D") << 0xe0000000u << int(C::ClassD);
    QTest::newRow("255.255.255.254 is E") << 0xfffffffeu << int(C::ClassE);
    QTest::newRow("255.255.255.255 is Broadcast") << 0xffffffffu << int(C::BroadcastClass);
}

void TstIPv4Policies::classOfAddress()
{
    QFETCH(quint32, address);
    QFETCH(int, classId);
    QCOMPARE(C::FromAddress(IPv4Address(address)), C(classId));
}

void TstIPv4Policies::refusals()
{
    QCOMPARE(C::FromAddress(IPv4Address()), C());
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4SubnetPolicy(C(C::ClassC), 7, true, false); }),
             QString("nSubnetBits"));
    const IPv4SubnetPolicy classB(C(C::ClassB), 4, false, false);
    QCOMPARE(ThrownMessage<std::invalid_argument>([&] { classB.GetSubnetIndex(IPv4Address(0x7effffffu)); }),
             QString("inAddress"));
    IPv4Address first, last;
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { classB.GetSubnet(IPv4Address(0x80000000u), 16, first, last); }),
             QString("nSubnetIndex"));
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([] { IPv4SubnetPolicy().GetSubnetMask(); }),
             QString("this"));
    QCOMPARE(classB.GetBitUsage(), BitUsage({{NetworkClassBit, 2}, {NetworkBit, 14}, {SubnetBit, 4}, {HostBit, 12}}));

    // The constructor keeps the low eight bits of the count.
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4CidrPolicy(IPv4AddressBlock(16), 256); }), QString("nCidrBits"));
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4CidrPolicy(IPv4AddressBlock(16), 33); }), QString("nCidrBits"));
    QCOMPARE(int(IPv4CidrPolicy(IPv4AddressBlock(16), 257).GetCidrBits()), 1);
    const IPv4CidrPolicy slash16(IPv4AddressBlock(16), 4);
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { slash16.GetRoute(IPv4Address(0u), 16, first, last); }),
             QString("nNetworkIndex"));
    QVERIFY(slash16 != IPv4CidrPolicy(IPv4AddressBlock(17), 4) && slash16 != IPv4CidrPolicy(IPv4AddressBlock(16), 5));
    QCOMPARE(slash16.GetBitUsage(), BitUsage({{FixedBit, 16}, {CidrBit, 4}, {OpenBit, 12}}));
    QCOMPARE(IPv4CidrPolicy(IPv4AddressBlock(24), 8).GetBitUsage(), BitUsage({{FixedBit, 24}, {CidrBit, 8}}));
    // Host bits of a /16 with 20 CIDR bits would be negative; no query may wrap them into a count.
    quint32 n = 0, s = 0;
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] {
                 IPv4CidrPolicy(IPv4AddressBlock(16), 20).GetMaxCounts(n, s);
             }),
             QString("this"));
}

void TstIPv4Policies::stream()
{
    const IPv4SubnetPolicy subnet(C(C::ClassB), 4, false, false);
    const IPv4CidrPolicy cidr(IPv4AddressBlock(8), 4);
    QCOMPARE(Read("00000006", C(C::ClassB)), "ok");
    QCOMPARE(Read("0000000a", C(C::ClassB)), "refused");
    QCOMPARE(Read("00000006000000030100", subnet), "ok");
    QCOMPARE(Read("00000000000000000000", subnet), "ok"); // nothing chosen yet
    QCOMPARE(Read("00000006000000070001", subnet), "ok"); // RFC 3021 allows 7 on class C, 6 without
    QCOMPARE(Read("00000006000000070000", subnet), "refused");
    QCOMPARE(Read("00000004000000020000", subnet), "refused"); // loopback has no subnets
    QCOMPARE(Read("00000006000000030700", subnet), "refused");
    QCOMPARE(Read("000000060000", subnet), "refused");
    QCOMPARE(Read("00000020", IPv4AddressBlock(8)), "ok");
    QCOMPARE(Read("00000021", IPv4AddressBlock(8)), "refused");
    QCOMPARE(Read("ffffff10", IPv4AddressBlock(8)), "refused");
    QCOMPARE(Read("0000001000000010", cidr), "ok");
    QCOMPARE(Read("0000000000000000", cidr), "ok");
    QCOMPARE(Read("0000001000000011", cidr), "refused");
    QCOMPARE(Read("0000001000000104", cidr), "refused");
}

QTEST_APPLESS_MAIN(TstIPv4Policies)
#include "tst_ipv4policies.moc"
