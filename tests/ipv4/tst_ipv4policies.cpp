// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

// Subnet and CIDR arithmetic against a reference that counts addresses (start plus
// index times size) instead of masking, for random addresses and every policy.

#include "address/exceptionutil.h"
#include "common/datarows.h"
#include "common/exceptionmessage.h"
#include "common/streamread.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QTest>

#include <map>
#include <random>
#include <vector>

namespace {

using C = IPv4AddressClass;
using Invalid = ExceptionUtil::invalid_operation;
using OutOfRange = std::out_of_range;

const auto Size = [](quint32 bits) { return static_cast<quint64>(1) << bits; };

// A policy's bit counts (mask, field, host bits) and its maximum counts, in one list.
template <class Policy>
QList<quint64> Counts(const Policy& policy)
{
    quint8 maskBits = 0, fieldBits = 0, hostBits = 0;
    quint32 parts = 0, perPart = 0;
    policy.GetBitCounts(maskBits, fieldBits, hostBits);
    policy.GetMaxCounts(parts, perPart);
    return {maskBits, fieldBits, hostBits, parts, perPart};
}

// Random addresses from a fixed seed, after the edges of the classes and the address space.
std::vector<quint32> Addresses(std::size_t count)
{
    std::vector<quint32> list = {0u,          1u,          0x00ffffffu, 0x01000000u, 0x7effffffu, 0x7f000000u,
                                 0x80000000u, 0xbfffffffu, 0xc0000000u, 0xdfffffffu, 0xfffffffeu, 0xffffffffu};
    std::mt19937 random(20261206);
    while (list.size() < count)
        list.push_back(static_cast<quint32>(random()));
    return list;
}

} // namespace

class TstIPv4Policies : public QObject
{
    Q_OBJECT

private slots:
    void subnets_data()
    {
        AddColumns<int, bool, bool>("classId", "allowOneSubnetBit", "allowOneHostBit");
        for (const C& c : C::GetClasses())
            for (const bool oneHostBit : {false, true})
                for (const bool oneSubnetBit : {false, true})
                    QTest::addRow("%s, RFC 1878 %d, RFC 3021 %d", c.GetName().c_str(), oneSubnetBit, oneHostBit)
                        << static_cast<int>(c.GetClassID()) << oneSubnetBit << oneHostBit;
    }

    void subnets()
    {
        QFETCH(int, classId);
        QFETCH(bool, allowOneSubnetBit);
        QFETCH(bool, allowOneHostBit);
        const C addressClass(classId);
        const auto policies = IPv4SubnetPolicy::GetPolicies(addressClass, allowOneSubnetBit, allowOneHostBit);
        const quint32 networkBits = std::map<int, quint32>{{C::ClassA, 8}, {C::ClassB, 16}, {C::ClassC, 24}}[classId];
        QVERIFY(addressClass.IsValid() && addressClass.IsSubnettable() == (networkBits != 0));
        const quint32 classHostBits = 32 - networkBits, lowest = allowOneSubnetBit ? 1 : 2;
        // A class without subnets has no policies, so the loops below walk nothing.
        QCOMPARE(policies.size(),
                 networkBits ? std::size_t{classHostBits - (allowOneHostBit ? 1 : 2) - lowest + 1} : 0);

        std::mt19937 random{static_cast<quint32>(classId)};
        for (quint32 value : Addresses(1000)) {
            const IPv4Address address(value);
            if (!addressClass.Contains(address))
                continue;
            const quint64 networkStart = value - value % Size(classHostBits);
            for (std::size_t p = 0; p < policies.size(); ++p) {
                const IPv4SubnetPolicy& policy = policies[p];
                const quint32 subnetBits = lowest + static_cast<quint32>(p), hostBits = classHostBits - subnetBits;
                const quint64 subnetSize = Size(hostBits);

                QCOMPARE(Counts(policy), QList<quint64>({networkBits + subnetBits, subnetBits, hostBits,
                                                         Size(subnetBits) - (allowOneSubnetBit ? 0 : 2),
                                                         subnetSize - (hostBits > 1 ? 2 : 0)}));
                QCOMPARE(static_cast<quint64>(policy.GetSubnetMask().GetValue()), Size(32) - subnetSize);

                const quint64 ownIndex = (value - networkStart) / subnetSize;
                QCOMPARE(static_cast<quint64>(policy.GetSubnetIndex(address)), ownIndex);
                // Both ends, the address's own index and one at random.
                for (quint64 index :
                     {static_cast<quint64>(0), Size(subnetBits) - 1, ownIndex, random() % Size(subnetBits)}) {
                    const quint64 start = networkStart + index * subnetSize, end = start + subnetSize - 1;
                    IPv4Address id, broadcast, first, last;
                    const bool hasHosts = policy.GetSubnet(address, static_cast<quint32>(index), id, broadcast);
                    QCOMPARE(hasHosts, subnetSize >= 4);
                    QCOMPARE(policy.GetHostRange(address, static_cast<quint32>(index), first, last), hasHosts);
                    QCOMPARE(QList<quint64>({id.GetValue(), first.GetValue(), last.GetValue(), broadcast.GetValue()}),
                             QList<quint64>({start, start + hasHosts, end - hasHosts, end}));
                }
            }
        }
    }

    void routes_data()
    {
        QTest::addColumn<int>("blockBits");
        for (int blockBits = 1; blockBits <= 32; ++blockBits)
            QTest::addRow("block /%d", blockBits) << blockBits;
    }

    void routes()
    {
        QFETCH(int, blockBits);
        const IPv4AddressBlock block{static_cast<quint8>(blockBits)};
        const std::vector<IPv4CidrPolicy> policies = IPv4CidrPolicy::GetPolicies(block);
        QCOMPARE(policies.size(), static_cast<std::size_t>(32 - blockBits));

        std::mt19937 random{static_cast<quint32>(blockBits)};
        for (quint32 value : Addresses(100)) {
            const IPv4Address address(value);
            const quint64 blockSize = Size(32 - static_cast<quint32>(blockBits)),
                          blockStart = value - value % blockSize;
            IPv4Address first, last;
            block.GetRange(address, first, last);
            QCOMPARE(QList<quint64>({first.GetValue(), last.GetValue()}),
                     QList<quint64>({blockStart, blockStart + blockSize - 1}));

            for (std::size_t p = 0; p < policies.size(); ++p) {
                const IPv4CidrPolicy& policy = policies[p];
                const quint32 cidrBits = static_cast<quint32>(p) + 1,
                              hostBits = 32 - static_cast<quint32>(blockBits) - cidrBits;
                const quint64 routeSize = Size(hostBits);

                QCOMPARE(Counts(policy),
                         QList<quint64>({blockBits + cidrBits, cidrBits, hostBits, Size(cidrBits), routeSize}));
                QCOMPARE(static_cast<quint64>(policy.GetCidrMask().GetValue()), Size(32) - routeSize);

                const quint64 ownIndex = (value - blockStart) / routeSize;
                QCOMPARE(static_cast<quint64>(policy.GetNetworkIndex(address)), ownIndex);
                for (quint64 index :
                     {static_cast<quint64>(0), Size(cidrBits) - 1, ownIndex, random() % Size(cidrBits)}) {
                    const quint64 start = blockStart + index * routeSize;
                    QCOMPARE(policy.GetRoute(address, static_cast<quint32>(index), first, last), routeSize > 1);
                    QCOMPARE(QList<quint64>({first.GetValue(), last.GetValue()}),
                             QList<quint64>({start, start + routeSize - 1}));
                }
            }
        }
    }

    void classesAndRefusals()
    {
        // The first address of each class from This Host to Broadcast; the one before is in the class before.
        const quint32 starts[] = {0u,          1u,          0x01000000u, 0x7f000000u, 0x80000000u,
                                  0xc0000000u, 0xe0000000u, 0xf0000000u, 0xffffffffu};
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(C::FromAddress(IPv4Address(starts[i])), C(C::ThisHostClass + i));
            QCOMPARE(C::FromAddress(IPv4Address(starts[i] - 1)),
                     C(i == 0 ? C::BroadcastClass : C::ThisHostClass + i - 1));
        }
        QCOMPARE(C::FromAddress(IPv4Address()), C());
        const IPv4SubnetPolicy classB(C(C::ClassB), 4, false, false);
        quint32 n = 0;
        QCOMPARE(classB.GetBitUsage(),
                 BitUsage({{NetworkClassBit, 2}, {NetworkBit, 14}, {SubnetBit, 4}, {HostBit, 12}}));

        const IPv4CidrPolicy slash16(IPv4AddressBlock(16), 4);
        QVERIFY(slash16 != IPv4CidrPolicy(IPv4AddressBlock(17), 4)
                && slash16 != IPv4CidrPolicy(IPv4AddressBlock(16), 5));
        QCOMPARE(slash16.GetBitUsage(), BitUsage({{FixedBit, 16}, {CidrBit, 4}, {OpenBit, 12}}));
        // Host bits of a /16 with 20 CIDR bits would be negative; no query may wrap them into a count.
        const IPv4CidrPolicy oversized(IPv4AddressBlock(16), 20);
        QCOMPARE(ThrownMessage<Invalid>([&] { oversized.GetMaxCounts(n, n); }), "this");
    }

    void stream()
    {
        const IPv4SubnetPolicy subnet(C(C::ClassB), 4, false, false);
        const IPv4CidrPolicy cidr(IPv4AddressBlock(8), 4);
        QCOMPARE(Read("0000000a", C(C::ClassB)), "refused");
        QCOMPARE(Read("00000000000000000000", subnet), "ok"); // nothing chosen yet
        QCOMPARE(Read("00000006000000070001", subnet), "ok"); // RFC 3021 allows 7 on class C, 6 without
        QCOMPARE(Read("00000006000000070000", subnet), "refused");
        QCOMPARE(Read("00000006000000020000", subnet), "ok"); // the fewest bits class C has without RFC 1878
        QCOMPARE(Read("00000006000000010000", subnet), "refused");
        QCOMPARE(Read("00000004000000020000", subnet), "refused"); // loopback has no subnets
        QCOMPARE(Read("000000060000", subnet), "refused");
        QCOMPARE(Read("00000020", IPv4AddressBlock(8)), "ok");
        QCOMPARE(Read("00000021", IPv4AddressBlock(8)), "refused");
        QCOMPARE(Read("0000001000000010", cidr), "ok");
        QCOMPARE(Read("0000000000000000", cidr), "ok");
        QCOMPARE(Read("0000001000000011", cidr), "refused");
        QCOMPARE(Read("0000001000000104", cidr), "refused");
    }
};

QTEST_APPLESS_MAIN(TstIPv4Policies)
#include "tst_ipv4policies.moc"
