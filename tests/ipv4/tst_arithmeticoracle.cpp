// Checks the subnet and CIDR arithmetic against a reference that counts addresses
// with 64-bit integers (start plus index times size) instead of masking and
// shifting, for random addresses and every permitted policy.

#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QTest>

#include <random>
#include <vector>

namespace {

quint64 Size(quint32 bits) { return quint64(1) << bits; }

// Random addresses from a fixed seed, after the edges of the classes and the address space.
std::vector<quint32> Addresses(std::size_t count)
{
    std::vector<quint32> list = {0u,          1u,          0x00ffffffu, 0x01000000u, 0x7effffffu, 0x7f000000u,
                                 0x80000000u, 0xbfffffffu, 0xc0000000u, 0xdfffffffu, 0xfffffffeu, 0xffffffffu};
    std::mt19937 random(20261206);
    while (list.size() < count)
        list.push_back(quint32(random()));
    return list;
}

// Both ends of count, the address's own index and one at random.
std::vector<quint64> Indices(quint64 count, quint64 own, std::mt19937& random)
{
    return {0, count - 1, own, std::uniform_int_distribution<quint64>(0, count - 1)(random)};
}

} // namespace

class TstArithmeticOracle : public QObject
{
    Q_OBJECT

private slots:
    void subnets_data();
    void subnets();
    void routes_data();
    void routes();
};

void TstArithmeticOracle::subnets_data()
{
    QTest::addColumn<int>("classId");
    QTest::addColumn<bool>("allowOneSubnetBit");
    QTest::addColumn<bool>("allowOneHostBit");
    for (const IPv4AddressClass& c : IPv4AddressClass::GetClasses())
        for (int options = 0; options < 4; ++options)
            QTest::addRow("%s, RFC 1878 %d, RFC 3021 %d", c.GetName().c_str(), options & 1, options >> 1)
                << int(c.GetClassID()) << bool(options & 1) << bool(options & 2);
}

void TstArithmeticOracle::subnets()
{
    QFETCH(int, classId);
    QFETCH(bool, allowOneSubnetBit);
    QFETCH(bool, allowOneHostBit);
    const IPv4AddressClass addressClass(classId);
    const auto policies = IPv4SubnetPolicy::GetPolicies(addressClass, allowOneSubnetBit, allowOneHostBit);
    const quint32 networkBits = classId == IPv4AddressClass::ClassA   ? 8
                                : classId == IPv4AddressClass::ClassB ? 16
                                : classId == IPv4AddressClass::ClassC ? 24
                                                                      : 0;
    if (networkBits == 0) {
        QVERIFY(policies.empty());
        return;
    }
    const quint32 classHostBits = 32 - networkBits;
    const quint32 lowest = allowOneSubnetBit ? 1 : 2;
    QCOMPARE(policies.size(), std::size_t(classHostBits - (allowOneHostBit ? 1 : 2) - lowest + 1));

    std::mt19937 random{quint32(classId)};
    for (quint32 value : Addresses(1000)) {
        const IPv4Address address(value);
        if (!addressClass.Contains(address))
            continue;
        const quint64 networkStart = value - value % Size(classHostBits);
        for (std::size_t p = 0; p < policies.size(); ++p) {
            const IPv4SubnetPolicy& policy = policies[p];
            const quint32 subnetBits = lowest + quint32(p);
            const quint32 hostBits = classHostBits - subnetBits;
            const quint64 subnetSize = Size(hostBits);

            quint8 maskBits = 0, policySubnetBits = 0, policyHostBits = 0;
            policy.GetBitCounts(maskBits, policySubnetBits, policyHostBits);
            QCOMPARE(QList<int>({maskBits, policySubnetBits, policyHostBits}),
                     QList<int>({int(networkBits + subnetBits), int(subnetBits), int(hostBits)}));
            QCOMPARE(quint64(policy.GetSubnetMask().GetValue()), Size(32) - subnetSize);
            quint32 maxSubnets = 0, maxHosts = 0;
            policy.GetMaxCounts(maxSubnets, maxHosts);
            QCOMPARE(quint64(maxSubnets), Size(subnetBits) - (allowOneSubnetBit ? 0 : 2));
            QCOMPARE(quint64(maxHosts), subnetSize - (hostBits > 1 ? 2 : 0));

            const quint64 ownIndex = (value - networkStart) / subnetSize;
            QCOMPARE(quint64(policy.GetSubnetIndex(address)), ownIndex);
            for (quint64 index : Indices(Size(subnetBits), ownIndex, random)) {
                const quint64 start = networkStart + index * subnetSize, end = start + subnetSize - 1;
                IPv4Address id, broadcast, first, last;
                const bool hasHosts = policy.GetSubnet(address, quint32(index), id, broadcast);
                QCOMPARE(hasHosts, subnetSize >= 4);
                QCOMPARE(policy.GetHostRange(address, quint32(index), first, last), hasHosts);
                QCOMPARE(QList<quint64>({id.GetValue(), first.GetValue(), last.GetValue(), broadcast.GetValue()}),
                         QList<quint64>({start, start + hasHosts, end - hasHosts, end}));
            }
        }
    }
}

void TstArithmeticOracle::routes_data()
{
    QTest::addColumn<int>("blockBits");
    for (int blockBits = 1; blockBits <= 32; ++blockBits)
        QTest::addRow("block /%d", blockBits) << blockBits;
}

void TstArithmeticOracle::routes()
{
    QFETCH(int, blockBits);
    const IPv4AddressBlock block{quint8(blockBits)};
    const std::vector<IPv4CidrPolicy> policies = IPv4CidrPolicy::GetPolicies(block);
    QCOMPARE(policies.size(), std::size_t(32 - blockBits));

    std::mt19937 random{quint32(blockBits)};
    for (quint32 value : Addresses(100)) {
        const IPv4Address address(value);
        const quint64 blockSize = Size(32 - quint32(blockBits));
        const quint64 blockStart = value - value % blockSize;
        IPv4Address first, last;
        block.GetRange(address, first, last);
        QCOMPARE(QList<quint64>({first.GetValue(), last.GetValue()}),
                 QList<quint64>({blockStart, blockStart + blockSize - 1}));

        for (std::size_t p = 0; p < policies.size(); ++p) {
            const IPv4CidrPolicy& policy = policies[p];
            const quint32 cidrBits = quint32(p) + 1;
            const quint32 hostBits = 32 - quint32(blockBits) - cidrBits;
            const quint64 routeSize = Size(hostBits);

            quint8 maskBits = 0, policyCidrBits = 0, policyHostBits = 0;
            policy.GetBitCounts(maskBits, policyCidrBits, policyHostBits);
            QCOMPARE(QList<int>({maskBits, policyCidrBits, policyHostBits}),
                     QList<int>({int(blockBits + cidrBits), int(cidrBits), int(hostBits)}));
            QCOMPARE(quint64(policy.GetCidrMask().GetValue()), Size(32) - routeSize);
            quint32 maxNetworks = 0, perNetwork = 0;
            policy.GetMaxCounts(maxNetworks, perNetwork);
            QCOMPARE(QList<quint64>({maxNetworks, perNetwork}), QList<quint64>({Size(cidrBits), routeSize}));

            const quint64 ownIndex = (value - blockStart) / routeSize;
            QCOMPARE(quint64(policy.GetNetworkIndex(address)), ownIndex);
            for (quint64 index : Indices(Size(cidrBits), ownIndex, random)) {
                const quint64 start = blockStart + index * routeSize;
                QCOMPARE(policy.GetRoute(address, quint32(index), first, last), routeSize > 1);
                QCOMPARE(QList<quint64>({first.GetValue(), last.GetValue()}),
                         QList<quint64>({start, start + routeSize - 1}));
            }
        }
    }
}

QTEST_APPLESS_MAIN(TstArithmeticOracle)
#include "tst_arithmeticoracle.moc"
