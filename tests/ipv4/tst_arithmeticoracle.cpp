// Checks the subnet and CIDR arithmetic against a reference that counts addresses
// with 64-bit integers (start plus index times size) instead of masking and
// shifting, for thousands of random addresses and every permitted policy.

#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QTest>

#include <random>
#include <vector>

namespace {

constexpr int AddressCount = 3000;
constexpr std::uint32_t Seed = 20261206;

struct ClassfulNetwork
{
    int classId;
    quint32 firstOctet;
    quint32 lastOctet;
    quint32 networkBits;
};

// The subnettable classes by first octet, as the historical ranges define them.
const ClassfulNetwork kClassful[] = {
    {IPv4AddressClass::ClassA, 1, 126, 8},
    {IPv4AddressClass::ClassB, 128, 191, 16},
    {IPv4AddressClass::ClassC, 192, 223, 24},
};

quint64 Size(quint32 bits) { return quint64(1) << bits; }

// Random addresses from a fixed seed, plus the edges of the address space.
const std::vector<quint32>& Addresses()
{
    static const std::vector<quint32> addresses = [] {
        std::vector<quint32> list = {0u, 1u, 0x00ffffffu, 0x01000000u, 0x7effffffu, 0x7f000000u,
                                     0x80000000u, 0xbfffffffu, 0xc0000000u, 0xdfffffffu,
                                     0xe0000000u, 0xfffffffeu, 0xffffffffu};
        std::mt19937 random(Seed);
        while (list.size() < std::size_t(AddressCount))
            list.push_back(quint32(random()));
        return list;
    }();
    return addresses;
}

// Indices worth checking out of count: both ends, the address's own and a few inside.
std::vector<quint64> SampleIndices(quint64 count, quint64 own, std::mt19937& random)
{
    std::vector<quint64> indices = {0, count - 1, own};
    if (count > 2)
        indices.push_back(1);
    for (int i = 0; i < 2; ++i)
        indices.push_back(std::uniform_int_distribution<quint64>(0, count - 1)(random));
    return indices;
}

} // namespace

class TstArithmeticOracle : public QObject
{
    Q_OBJECT

private slots:
    void subnets_data();
    void subnets();
    void unsubnettableClassesHaveNoPolicies();
    void routes_data();
    void routes();
};

void TstArithmeticOracle::subnets_data()
{
    QTest::addColumn<int>("network");
    QTest::addColumn<bool>("allowOneSubnetBit");
    QTest::addColumn<bool>("allowOneHostBit");
    const char* const classNames[] = {"Class A", "Class B", "Class C"};
    for (int network = 0; network < 3; ++network) {
        for (int options = 0; options < 4; ++options) {
            const bool rfc1878 = options & 1;
            const bool rfc3021 = options & 2;
            const char* const optionNames[] = {"neither option", "RFC 1878 only", "RFC 3021 only", "both options"};
            QTest::addRow("%s, %s", classNames[network], optionNames[options])
                << network << rfc1878 << rfc3021;
        }
    }
}

void TstArithmeticOracle::subnets()
{
    QFETCH(int, network);
    QFETCH(bool, allowOneSubnetBit);
    QFETCH(bool, allowOneHostBit);
    const ClassfulNetwork& classful = kClassful[network];
    const IPv4AddressClass addressClass(classful.classId);
    const quint32 classHostBits = 32 - classful.networkBits;

    const std::vector<IPv4SubnetPolicy> policies =
        IPv4SubnetPolicy::GetPolicies(addressClass, allowOneSubnetBit, allowOneHostBit);
    const quint32 lowest = allowOneSubnetBit ? 1 : 2;
    const quint32 highest = classHostBits - (allowOneHostBit ? 1 : 2);
    QCOMPARE(policies.size(), std::size_t(highest - lowest + 1));

    std::mt19937 random(Seed + quint32(network));
    int checked = 0;
    for (quint32 value : Addresses()) {
        const quint32 firstOctet = value >> 24;
        if (firstOctet < classful.firstOctet || firstOctet > classful.lastOctet)
            continue;
        ++checked;
        const IPv4Address address(value);
        const quint64 networkSize = Size(classHostBits);
        const quint64 networkStart = value - value % networkSize;
        for (std::size_t p = 0; p < policies.size(); ++p) {
            const IPv4SubnetPolicy& policy = policies[p];
            const quint32 subnetBits = lowest + quint32(p);
            const quint32 hostBits = classHostBits - subnetBits;
            const quint64 subnetSize = Size(hostBits);
            const quint64 subnetCount = Size(subnetBits);

            quint8 maskBits = 0, policySubnetBits = 0, policyHostBits = 0;
            policy.GetBitCounts(maskBits, policySubnetBits, policyHostBits);
            QCOMPARE(quint32(maskBits), classful.networkBits + subnetBits);
            QCOMPARE(quint32(policySubnetBits), subnetBits);
            QCOMPARE(quint32(policyHostBits), hostBits);
            QCOMPARE(quint64(policy.GetSubnetMask().GetValue()), Size(32) - subnetSize);
            quint32 maxSubnets = 0, maxHosts = 0;
            policy.GetMaxCounts(maxSubnets, maxHosts);
            QCOMPARE(quint64(maxSubnets), subnetCount - (allowOneSubnetBit ? 0 : 2));
            QCOMPARE(quint64(maxHosts), subnetSize - (hostBits > 1 ? 2 : 0));

            const quint64 ownIndex = (value - networkStart) / subnetSize;
            QCOMPARE(quint64(policy.GetSubnetIndex(address)), ownIndex);
            for (quint64 index : SampleIndices(subnetCount, ownIndex, random)) {
                const quint64 start = networkStart + index * subnetSize;
                const quint64 end = start + subnetSize - 1;
                IPv4Address subnetId, broadcast, firstHost, lastHost;
                const bool hasHosts = policy.GetSubnet(address, quint32(index), subnetId, broadcast);
                QCOMPARE(hasHosts, subnetSize >= 4);
                QCOMPARE(quint64(subnetId.GetValue()), start);
                QCOMPARE(quint64(broadcast.GetValue()), end);
                QCOMPARE(policy.GetHostRange(address, quint32(index), firstHost, lastHost), hasHosts);
                QCOMPARE(quint64(firstHost.GetValue()), hasHosts ? start + 1 : start);
                QCOMPARE(quint64(lastHost.GetValue()), hasHosts ? end - 1 : end);
            }
        }
    }
    QVERIFY2(checked > 100, "too few random addresses fell into the class");
}

void TstArithmeticOracle::unsubnettableClassesHaveNoPolicies()
{
    for (const IPv4AddressClass& addressClass : IPv4AddressClass::GetClasses()) {
        const bool classful = addressClass.GetClassID() == IPv4AddressClass::ClassA
                              || addressClass.GetClassID() == IPv4AddressClass::ClassB
                              || addressClass.GetClassID() == IPv4AddressClass::ClassC;
        for (int options = 0; options < 4; ++options) {
            const auto policies = IPv4SubnetPolicy::GetPolicies(addressClass, options & 1, options & 2);
            QCOMPARE(policies.empty(), !classful);
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

    std::mt19937 random(Seed + quint32(blockBits));
    // A third of the addresses keeps the 32 rows within a second or two.
    const std::vector<quint32>& addresses = Addresses();
    for (std::size_t a = 0; a < addresses.size(); a += 3) {
        const quint32 value = addresses[a];
        const IPv4Address address(value);
        const quint64 blockSize = Size(32 - quint32(blockBits));
        const quint64 blockStart = value - value % blockSize;
        IPv4Address first, last;
        block.GetRange(address, first, last);
        QCOMPARE(quint64(first.GetValue()), blockStart);
        QCOMPARE(quint64(last.GetValue()), blockStart + blockSize - 1);

        for (std::size_t p = 0; p < policies.size(); ++p) {
            const IPv4CidrPolicy& policy = policies[p];
            const quint32 cidrBits = quint32(p) + 1;
            const quint32 hostBits = 32 - quint32(blockBits) - cidrBits;
            const quint64 routeSize = Size(hostBits);
            const quint64 routeCount = Size(cidrBits);

            quint8 maskBits = 0, policyCidrBits = 0, policyHostBits = 0;
            policy.GetBitCounts(maskBits, policyCidrBits, policyHostBits);
            QCOMPARE(quint32(maskBits), quint32(blockBits) + cidrBits);
            QCOMPARE(quint32(policyCidrBits), cidrBits);
            QCOMPARE(quint32(policyHostBits), hostBits);
            QCOMPARE(quint64(policy.GetCidrMask().GetValue()), Size(32) - routeSize);
            quint32 maxNetworks = 0, perNetwork = 0;
            policy.GetMaxCounts(maxNetworks, perNetwork);
            QCOMPARE(quint64(maxNetworks), routeCount);
            QCOMPARE(quint64(perNetwork), routeSize);

            const quint64 ownIndex = (value - blockStart) / routeSize;
            QCOMPARE(quint64(policy.GetNetworkIndex(address)), ownIndex);
            for (quint64 index : SampleIndices(routeCount, ownIndex, random)) {
                const quint64 start = blockStart + index * routeSize;
                QCOMPARE(policy.GetRoute(address, quint32(index), first, last), routeSize > 1);
                QCOMPARE(quint64(first.GetValue()), start);
                QCOMPARE(quint64(last.GetValue()), start + routeSize - 1);
            }
        }
    }
}

QTEST_APPLESS_MAIN(TstArithmeticOracle)
#include "tst_arithmeticoracle.moc"
