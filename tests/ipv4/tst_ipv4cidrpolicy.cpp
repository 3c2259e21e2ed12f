// The route arithmetic of every block and policy is checked against a counting
// reference in tst_arithmeticoracle; this file covers the worked cases, the
// refusals and the stream layouts.

#include "address/exceptionutil.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "common/exceptionmessage.h"

#include <QBuffer>
#include <QDataStream>
#include <QTest>

#include <stdexcept>

Q_DECLARE_METATYPE(BitUsage)

namespace {

IPv4Address A(const char* text) { return IPv4Address(text, IPv4Address::DottedDecimal); }
QString T(const IPv4Address& address) { return QString::fromStdString(address.ToString(IPv4Address::DottedDecimal)); }

QString Route(const IPv4CidrPolicy& policy, const char* address, quint32 index)
{
    IPv4Address first, last;
    policy.GetRoute(A(address), index, first, last);
    return T(first) + " - " + T(last);
}

template <typename T>
QByteArray Streamed(const T& value)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    out << value;
    return buffer.data();
}

} // namespace

class TstIPv4CidrPolicy : public QObject
{
    Q_OBJECT

private slots:
    void blockRanges_data();
    void blockRanges();
    void blockList();
    void block16FourBits();
    void block8FourBits();
    void singleAddressRoutes();
    void bitUsage_data();
    void bitUsage();
    void policyLists();
    void constructorKeepsTheLowEightBits_data();
    void constructorKeepsTheLowEightBits();
    void refusals();
    void oversizedPolicyIsRefusedByEveryQuery();
    void streamLayout();
    void streamRefusesImpossibleValues_data();
    void streamRefusesImpossibleValues();
};

void TstIPv4CidrPolicy::blockRanges_data()
{
    QTest::addColumn<int>("maskBits");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("range");
    QTest::newRow("/1") << 1 << "128.0.0.0" << "128.0.0.0 - 255.255.255.255";
    QTest::newRow("/16") << 16 << "255.255.0.0" << "172.16.0.0 - 172.16.255.255";
    QTest::newRow("/32 holds the address alone") << 32 << "255.255.255.255" << "172.16.0.1 - 172.16.0.1";
}

void TstIPv4CidrPolicy::blockRanges()
{
    QFETCH(int, maskBits);
    QFETCH(QString, mask);
    QFETCH(QString, range);
    const IPv4AddressBlock block{quint8(maskBits)};
    QVERIFY(block.IsValid());
    QCOMPARE(T(block.GetMask()), mask);
    IPv4Address first, last;
    block.GetRange(A("172.16.0.1"), first, last);
    QCOMPARE(T(first) + " - " + T(last), range);
}

void TstIPv4CidrPolicy::blockList()
{
    const std::vector<IPv4AddressBlock> blocks = IPv4AddressBlock::GetBlocks();
    QCOMPARE(blocks.size(), std::size_t(32));
    for (std::size_t i = 0; i < blocks.size(); ++i)
        QCOMPARE(int(blocks[i].GetMaskBits()), int(i) + 1);
    QVERIFY(!IPv4AddressBlock().IsValid());
    QVERIFY(IPv4AddressBlock(16) == IPv4AddressBlock(16));
    QVERIFY(IPv4AddressBlock(16) != IPv4AddressBlock(17));
}

void TstIPv4CidrPolicy::block16FourBits()
{
    const IPv4CidrPolicy policy(IPv4AddressBlock(16), 4);
    QVERIFY(policy.IsValid());
    QCOMPARE(T(policy.GetCidrMask()), QString("255.255.240.0"));
    quint8 maskBits = 0, cidrBits = 0, hostBits = 0;
    policy.GetBitCounts(maskBits, cidrBits, hostBits);
    QCOMPARE(QList<int>({maskBits, cidrBits, hostBits}), QList<int>({20, 4, 12}));
    quint32 maxNetworks = 0, perNetwork = 0;
    policy.GetMaxCounts(maxNetworks, perNetwork);
    QCOMPARE(maxNetworks, 16u);
    QCOMPARE(perNetwork, 4096u);
    QCOMPARE(policy.GetNetworkIndex(A("172.16.0.1")), 0u);
    QCOMPARE(Route(policy, "172.16.0.1", 0), QString("172.16.0.0 - 172.16.15.255"));
    QCOMPARE(Route(policy, "172.16.0.1", 1), QString("172.16.16.0 - 172.16.31.255"));
    QCOMPARE(Route(policy, "172.16.0.1", 15), QString("172.16.240.0 - 172.16.255.255"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { Route(policy, "172.16.0.1", 16); }), QString("nNetworkIndex"));
}

void TstIPv4CidrPolicy::block8FourBits()
{
    const IPv4CidrPolicy policy(IPv4AddressBlock(8), 4);
    QCOMPARE(T(policy.GetCidrMask()), QString("255.240.0.0"));
    QCOMPARE(policy.GetNetworkIndex(A("10.200.3.4")), 12u);
    QCOMPARE(Route(policy, "10.200.3.4", 12), QString("10.192.0.0 - 10.207.255.255"));
}

void TstIPv4CidrPolicy::singleAddressRoutes()
{
    const IPv4CidrPolicy policy(IPv4AddressBlock(24), 8);
    QCOMPARE(T(policy.GetCidrMask()), QString("255.255.255.255"));
    quint32 maxNetworks = 0, perNetwork = 0;
    policy.GetMaxCounts(maxNetworks, perNetwork);
    QCOMPARE(maxNetworks, 256u);
    QCOMPARE(perNetwork, 1u);
    IPv4Address first, last;
    QVERIFY(!policy.GetRoute(A("192.168.1.9"), 255, first, last));
    QCOMPARE(T(first), QString("192.168.1.255"));
    QCOMPARE(last, first);
}

void TstIPv4CidrPolicy::bitUsage_data()
{
    QTest::addColumn<int>("blockBits");
    QTest::addColumn<int>("cidrBits");
    QTest::addColumn<BitUsage>("usage");
    QTest::newRow("/16 with 4 bits") << 16 << 4 << BitUsage({{FixedBit, 16}, {CidrBit, 4}, {OpenBit, 12}});
    QTest::newRow("/24 with 8 bits has no open bits") << 24 << 8 << BitUsage({{FixedBit, 24}, {CidrBit, 8}});
    QTest::newRow("/1 with 31 bits") << 1 << 31 << BitUsage({{FixedBit, 1}, {CidrBit, 31}});
}

void TstIPv4CidrPolicy::bitUsage()
{
    QFETCH(int, blockBits);
    QFETCH(int, cidrBits);
    QFETCH(BitUsage, usage);
    QCOMPARE(IPv4CidrPolicy(IPv4AddressBlock(quint8(blockBits)), quint32(cidrBits)).GetBitUsage(), usage);
}

void TstIPv4CidrPolicy::policyLists()
{
    const std::vector<IPv4CidrPolicy> slash30 = IPv4CidrPolicy::GetPolicies(IPv4AddressBlock(30));
    QCOMPARE(slash30.size(), std::size_t(2));
    QCOMPARE(slash30[0], IPv4CidrPolicy(IPv4AddressBlock(30), 1));
    QCOMPARE(slash30[1], IPv4CidrPolicy(IPv4AddressBlock(30), 2));
    QVERIFY(IPv4CidrPolicy::GetPolicies(IPv4AddressBlock(32)).empty());

    const std::vector<IPv4CidrPolicy> slash1 = IPv4CidrPolicy::GetPolicies(IPv4AddressBlock(1));
    QCOMPARE(slash1.size(), std::size_t(31));
    quint32 maxNetworks = 0, perNetwork = 0;
    slash1.back().GetMaxCounts(maxNetworks, perNetwork);
    QCOMPARE(maxNetworks, 0x80000000u);
    QCOMPARE(perNetwork, 1u);
    IPv4Address first, last;
    slash1.back().GetRoute(A("1.2.3.4"), 0x7fffffffu, first, last);
    QCOMPARE(T(first), QString("127.255.255.255"));
}

void TstIPv4CidrPolicy::constructorKeepsTheLowEightBits_data()
{
    QTest::addColumn<quint32>("cidrBits");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("stored");
    QTest::newRow("0 refused") << 0u << "nCidrBits" << 0;
    QTest::newRow("33 refused") << 33u << "nCidrBits" << 0;
    QTest::newRow("256 is 0, refused") << 256u << "nCidrBits" << 0;
    QTest::newRow("257 is 1") << 257u << "" << 1;
    QTest::newRow("20 on /16 passes the constructor") << 20u << "" << 20;
}

void TstIPv4CidrPolicy::constructorKeepsTheLowEightBits()
{
    QFETCH(quint32, cidrBits);
    QFETCH(QString, error);
    QFETCH(int, stored);
    if (!error.isEmpty()) {
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { IPv4CidrPolicy(IPv4AddressBlock(16), cidrBits); }), error);
        return;
    }
    const IPv4CidrPolicy policy(IPv4AddressBlock(16), cidrBits);
    QCOMPARE(int(policy.GetCidrBits()), stored);
    QCOMPARE(policy.GetAddressBlock(), IPv4AddressBlock(16));
}

void TstIPv4CidrPolicy::refusals()
{
    const IPv4CidrPolicy none;
    QVERIFY(!none.IsValid());
    QVERIFY(!IPv4CidrPolicy(IPv4AddressBlock(), 4).IsValid());
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { none.GetCidrMask(); }), QString("this"));
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { none.GetBitUsage(); }), QString("this"));

    const IPv4CidrPolicy policy(IPv4AddressBlock(16), 4);
    IPv4Address first, last;
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetNetworkIndex(IPv4Address()); }),
             QString("this"));
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetRoute(IPv4Address(), 0, first, last); }),
             QString("this"));
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { IPv4AddressBlock(8).GetRange(IPv4Address(), first, last); }),
             QString("this"));
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4AddressBlock(33).GetMask(); }), QString("nMaskBits"));
    QVERIFY(policy != IPv4CidrPolicy(IPv4AddressBlock(17), 4));
    QVERIFY(policy != IPv4CidrPolicy(IPv4AddressBlock(16), 5));
}

void TstIPv4CidrPolicy::oversizedPolicyIsRefusedByEveryQuery()
{
    // Its host bits would be negative; no query may wrap them into a count.
    const IPv4CidrPolicy policy(IPv4AddressBlock(16), 20);
    quint8 b = 0, c = 0, h = 0;
    quint32 n = 0, s = 0;
    IPv4Address first, last;
    const QString refused("this");
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetCidrMask(); }), refused);
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetBitCounts(b, c, h); }), refused);
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetMaxCounts(n, s); }), refused);
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetNetworkIndex(A("1.2.3.4")); }), refused);
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetRoute(A("1.2.3.4"), 0, first, last); }),
             refused);
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { policy.GetBitUsage(); }), refused);
}

void TstIPv4CidrPolicy::streamLayout()
{
    QCOMPARE(Streamed(IPv4AddressBlock(16)), QByteArray::fromHex("00000010"));
    const IPv4CidrPolicy policy(IPv4AddressBlock(16), 4);
    const QByteArray bytes = Streamed(policy);
    QCOMPARE(bytes, QByteArray::fromHex("0000001000000004"));
    QDataStream in(bytes);
    IPv4CidrPolicy read;
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(read, policy);

    // The default values travel too, so a store can hold "nothing chosen yet".
    QCOMPARE(Streamed(IPv4CidrPolicy()), QByteArray::fromHex("0000000000000000"));
    QDataStream none(Streamed(IPv4CidrPolicy()));
    read = policy;
    none >> read;
    QCOMPARE(none.status(), QDataStream::Ok);
    QVERIFY(!read.IsValid());
}

void TstIPv4CidrPolicy::streamRefusesImpossibleValues_data()
{
    QTest::addColumn<bool>("block");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("block /33") << true << QByteArray::fromHex("00000021");
    QTest::newRow("block count 256") << true << QByteArray::fromHex("00000100");
    QTest::newRow("block negative") << true << QByteArray::fromHex("ffffff10");
    QTest::newRow("block truncated") << true << QByteArray::fromHex("000010");
    QTest::newRow("/32 with 1 CIDR bit") << false << QByteArray::fromHex("0000002000000001");
    QTest::newRow("/16 with 20 CIDR bits") << false << QByteArray::fromHex("0000001000000014");
    QTest::newRow("CIDR bits 260") << false << QByteArray::fromHex("0000001000000104");
    QTest::newRow("policy truncated") << false << QByteArray::fromHex("00000010000000");
    QTest::newRow("policy with block /40") << false << QByteArray::fromHex("0000002800000001");
}

void TstIPv4CidrPolicy::streamRefusesImpossibleValues()
{
    QFETCH(bool, block);
    QFETCH(QByteArray, bytes);
    QDataStream in(bytes);
    if (block) {
        IPv4AddressBlock read(8);
        in >> read;
        QVERIFY(!read.IsValid());
    } else {
        IPv4CidrPolicy read(IPv4AddressBlock(8), 4);
        in >> read;
        QVERIFY(!read.IsValid());
    }
    QVERIFY(in.status() != QDataStream::Ok);
}

QTEST_APPLESS_MAIN(TstIPv4CidrPolicy)
#include "tst_ipv4cidrpolicy.moc"
