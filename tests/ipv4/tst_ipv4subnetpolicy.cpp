#include "address/exceptionutil.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4subnetpolicy.h"
#include "common/exceptionmessage.h"

#include <QDataStream>
#include <QTest>

#include <stdexcept>

namespace {

IPv4Address A(const char* text) { return IPv4Address(text, IPv4Address::DottedDecimal); }
QString T(const IPv4Address& address) { return QString::fromStdString(address.ToString(IPv4Address::DottedDecimal)); }

} // namespace

class TstIPv4SubnetPolicy : public QObject
{
    Q_OBJECT

private slots:
    void classOfAddress_data();
    void classOfAddress();
    void classStreamsItsId();
    void permittedRanges_data();
    void permittedRanges();
    void classBFourBits();
    void classCSlash31();
    void refusals();
    void streamLayout();
    void streamRefusesImpossiblePolicies_data();
    void streamRefusesImpossiblePolicies();
};

void TstIPv4SubnetPolicy::classOfAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("classId");
    QTest::newRow("0.0.0.0 is This Host") << "0.0.0.0" << int(IPv4AddressClass::ThisHostClass);
    QTest::newRow("0.0.0.1 is This Network") << "0.0.0.1" << int(IPv4AddressClass::ThisNetworkClass);
    QTest::newRow("126.255.255.255 is A") << "126.255.255.255" << int(IPv4AddressClass::ClassA);
    QTest::newRow("127.0.0.1 is Loopback") << "127.0.0.1" << int(IPv4AddressClass::LoopbackClass);
    QTest::newRow("128.0.0.0 is B") << "128.0.0.0" << int(IPv4AddressClass::ClassB);
    QTest::newRow("223.255.255.255 is C") << "223.255.255.255" << int(IPv4AddressClass::ClassC);
    QTest::newRow("224.0.0.0 is D") << "224.0.0.0" << int(IPv4AddressClass::ClassD);
    QTest::newRow("255.255.255.254 is E") << "255.255.255.254" << int(IPv4AddressClass::ClassE);
    QTest::newRow("255.255.255.255 is Broadcast") << "255.255.255.255" << int(IPv4AddressClass::BroadcastClass);
    QTest::newRow("invalid address, invalid class") << "" << int(IPv4AddressClass::InvalidClass);
}

void TstIPv4SubnetPolicy::classOfAddress()
{
    QFETCH(QString, address);
    QFETCH(int, classId);
    const IPv4AddressClass found = IPv4AddressClass::FromAddress(A(address.toLatin1()));
    QCOMPARE(found, IPv4AddressClass(classId));
    const bool subnettable = classId == IPv4AddressClass::ClassA || classId == IPv4AddressClass::ClassB
                             || classId == IPv4AddressClass::ClassC;
    QCOMPARE(found.IsSubnettable(), subnettable);
}

void TstIPv4SubnetPolicy::classStreamsItsId()
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << IPv4AddressClass(IPv4AddressClass::ClassC);
    }
    QCOMPARE(bytes, QByteArray::fromHex("00000006"));
    QCOMPARE(IPv4AddressClass::GetClasses().size(), size_t(9));
}

void TstIPv4SubnetPolicy::permittedRanges_data()
{
    QTest::addColumn<int>("classId");
    QTest::addColumn<bool>("oneSubnetBit");
    QTest::addColumn<bool>("oneHostBit");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<QString>("firstMask");
    const struct
    {
        int id;
        const char* name;
        int hostBits;
    } classes[] = {{IPv4AddressClass::ClassA, "A", 24}, {IPv4AddressClass::ClassB, "B", 16}, {IPv4AddressClass::ClassC, "C", 8}};
    for (const auto& c : classes)
        for (bool subnet : {false, true})
            for (bool host : {false, true}) {
                const int lowest = subnet ? 1 : 2;
                const int highest = c.hostBits - (host ? 1 : 2);
                const IPv4Address mask = IPv4Address::CreateMask(quint8(32 - c.hostBits + lowest));
                QTest::addRow("class %s, 1878 %s, 3021 %s", c.name, subnet ? "on" : "off", host ? "on" : "off")
                    << c.id << subnet << host << lowest << highest << T(mask);
            }
}

void TstIPv4SubnetPolicy::permittedRanges()
{
    QFETCH(int, classId);
    QFETCH(bool, oneSubnetBit);
    QFETCH(bool, oneHostBit);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(QString, firstMask);
    const auto policies = IPv4SubnetPolicy::GetPolicies(IPv4AddressClass(classId), oneSubnetBit, oneHostBit);
    QCOMPARE(int(policies.size()), highest - lowest + 1);
    QCOMPARE(int(policies.front().GetSubnetBits()), lowest);
    QCOMPARE(int(policies.back().GetSubnetBits()), highest);
    QCOMPARE(T(policies.front().GetSubnetMask()), firstMask);
    QCOMPARE(ThrownMessage<std::out_of_range>(
                 [&] { IPv4SubnetPolicy(IPv4AddressClass(classId), highest + 1, oneSubnetBit, oneHostBit); }),
             QString("nSubnetBits"));
}

void TstIPv4SubnetPolicy::classBFourBits()
{
    const IPv4Address address = A("172.16.0.1");
    IPv4SubnetPolicy policy(IPv4AddressClass::FromAddress(address), 4, false, false);
    QCOMPARE(T(policy.GetSubnetMask()), QString("255.255.240.0"));
    quint8 maskBits, subnetBits, hostBits;
    policy.GetBitCounts(maskBits, subnetBits, hostBits);
    QCOMPARE(maskBits, quint8(20));
    QCOMPARE(subnetBits, quint8(4));
    QCOMPARE(hostBits, quint8(12));
    quint32 maxSubnets, maxHosts;
    policy.GetMaxCounts(maxSubnets, maxHosts);
    QCOMPARE(maxSubnets, 14u);
    QCOMPARE(maxHosts, 4094u);
    QCOMPARE(policy.GetSubnetIndex(address), 0u);

    IPv4Address id, broadcast, first, last;
    QVERIFY(policy.GetSubnet(address, 0, id, broadcast));
    QVERIFY(policy.GetHostRange(address, 0, first, last));
    QCOMPARE(QStringList({T(id), T(first), T(last), T(broadcast)}),
             QStringList({"172.16.0.0", "172.16.0.1", "172.16.15.254", "172.16.15.255"}));
    policy.GetSubnet(address, 1, id, broadcast);
    QCOMPARE(T(id) + "-" + T(broadcast), QString("172.16.16.0-172.16.31.255"));
    policy.GetSubnet(address, 15, id, broadcast);
    QCOMPARE(T(id) + "-" + T(broadcast), QString("172.16.240.0-172.16.255.255"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { policy.GetSubnet(address, 16, id, broadcast); }),
             QString("nSubnetIndex"));

    IPv4SubnetPolicy rfc1878(IPv4AddressClass::FromAddress(address), 4, true, false);
    rfc1878.GetMaxCounts(maxSubnets, maxHosts);
    QCOMPARE(maxSubnets, 16u);
    rfc1878.GetSubnet(address, 15, id, broadcast);
    QCOMPARE(T(id), QString("172.16.240.0"));

    // Network bits of the classful part plus subnet and host bits cover the 32 bits.
    const BitUsage usage = policy.GetBitUsage();
    QCOMPARE(GetNetworkBitCount(usage), 16u);
    QCOMPARE(GetHostBitCount(usage), 12u);
}

void TstIPv4SubnetPolicy::classCSlash31()
{
    const IPv4Address address = A("192.168.1.77");
    IPv4SubnetPolicy policy(IPv4AddressClass::FromAddress(address), 7, true, true);
    QCOMPARE(T(policy.GetSubnetMask()), QString("255.255.255.254"));
    quint32 maxSubnets, maxHosts;
    policy.GetMaxCounts(maxSubnets, maxHosts);
    QCOMPARE(maxSubnets, 128u);
    QCOMPARE(maxHosts, 2u);
    QCOMPARE(policy.GetSubnetIndex(address), 38u);
    IPv4Address id, broadcast, first, last;
    QVERIFY(!policy.GetSubnet(address, 38, id, broadcast));
    QVERIFY(!policy.GetHostRange(address, 38, first, last));
    QCOMPARE(QStringList({T(id), T(broadcast), T(first), T(last)}),
             QStringList({"192.168.1.76", "192.168.1.77", "192.168.1.76", "192.168.1.77"}));

    IPv4SubnetPolicy sixBits(IPv4AddressClass(IPv4AddressClass::ClassC), 6, false, false);
    sixBits.GetMaxCounts(maxSubnets, maxHosts);
    QCOMPARE(maxSubnets, 62u);
    QCOMPARE(maxHosts, 2u);
}

void TstIPv4SubnetPolicy::refusals()
{
    const IPv4AddressClass classC(IPv4AddressClass::ClassC);
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { IPv4SubnetPolicy(classC, 7, true, false); }), QString("nSubnetBits"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { IPv4SubnetPolicy(classC, 1, false, true); }), QString("nSubnetBits"));
    QVERIFY(IPv4SubnetPolicy::GetPolicies(IPv4AddressClass(IPv4AddressClass::LoopbackClass), true, true).empty());
    QVERIFY(IPv4SubnetPolicy::GetPolicies(IPv4AddressClass(IPv4AddressClass::BroadcastClass), true, true).empty());
    QVERIFY(IPv4SubnetPolicy::GetPolicies(IPv4AddressClass(), true, true).empty());

    IPv4SubnetPolicy classB(IPv4AddressClass(IPv4AddressClass::ClassB), 4, false, false);
    QCOMPARE(ThrownMessage<std::invalid_argument>([&] { classB.GetSubnetIndex(A("10.0.0.1")); }), QString("inAddress"));
    const IPv4SubnetPolicy none;
    QVERIFY(!none.IsValid());
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { none.GetSubnetMask(); }), QString("this"));
}

void TstIPv4SubnetPolicy::streamLayout()
{
    const IPv4SubnetPolicy policy(IPv4AddressClass(IPv4AddressClass::ClassC), 3, true, false);
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << policy;
    }
    QCOMPARE(bytes, QByteArray::fromHex("00000006000000030100"));
    QDataStream in(bytes);
    IPv4SubnetPolicy read;
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(read, policy);
}

void TstIPv4SubnetPolicy::streamRefusesImpossiblePolicies_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("class C with 200 subnet bits") << QByteArray::fromHex("00000006000000c80101");
    QTest::newRow("loopback class") << QByteArray::fromHex("00000004000000020000");
    QTest::newRow("class id 10") << QByteArray::fromHex("0000000a000000020000");
    QTest::newRow("truncated") << QByteArray::fromHex("000000060000");
    QTest::newRow("option flag 7") << QByteArray::fromHex("00000006000000030700");
}

void TstIPv4SubnetPolicy::streamRefusesImpossiblePolicies()
{
    QFETCH(QByteArray, bytes);
    QDataStream in(bytes);
    IPv4SubnetPolicy read(IPv4AddressClass(IPv4AddressClass::ClassB), 4, false, false);
    in >> read;
    QVERIFY(in.status() != QDataStream::Ok);
    QVERIFY(!read.IsValid());
}

QTEST_APPLESS_MAIN(TstIPv4SubnetPolicy)
#include "tst_ipv4subnetpolicy.moc"
