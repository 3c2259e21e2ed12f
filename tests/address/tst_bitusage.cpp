#include "address/bitusage.h"
#include "address/exceptionutil.h"
#include "address/ipv4address.h"
#include "common/exceptionmessage.h"

#include <QTest>

#include <stdexcept>

Q_DECLARE_METATYPE(BitUsage)

namespace {

IPv4Address A(const char* text) { return IPv4Address(text, IPv4Address::DottedDecimal); }

// Spans written out by hand, so a fault in the product's own span builder shows.
QString S(const char* color, const QString& text)
{
    return QStringLiteral("<span style=\"color:%1\">%2</span>").arg(QLatin1String(color), text);
}

QString Dot() { return S("black", "."); }

QString Q(const std::string& text) { return QString::fromStdString(text); }

const BitUsage kClassC = {{NetworkClassBit, 3}, {NetworkBit, 21}, {HostBit, 8}};

} // namespace

class TstBitUsage : public QObject
{
    Q_OBJECT

private slots:
    void roleTable_data();
    void roleTable();
    void rolesOutsideTheTableAreRefused();
    void counts();
    void bitString_data();
    void bitString();
    void bitStringNeedsAnAddressOnlyForItsOwnDigits();
    void legend_data();
    void legend();
};

void TstBitUsage::roleTable_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("character");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("color");
    QTest::newRow("open") << 0 << "x" << "Open" << "gray";
    QTest::newRow("fixed") << 1 << "f" << "Fixed" << "black";
    QTest::newRow("network class") << 2 << "n" << "Network" << "navy";
    QTest::newRow("network") << 3 << "n" << "Network" << "navy";
    QTest::newRow("cidr") << 4 << "c" << "CIDR" << "teal";
    QTest::newRow("subnet") << 5 << "s" << "Subnet" << "maroon";
    QTest::newRow("host") << 6 << "h" << "Host" << "green";
    QTest::newRow("group") << 7 << "g" << "Group" << "purple";
}

void TstBitUsage::roleTable()
{
    QFETCH(int, role);
    QFETCH(QString, character);
    QFETCH(QString, name);
    QFETCH(QString, color);
    QCOMPARE(QString(QChar::fromLatin1(GetBitRoleCharacter(role))), character);
    QCOMPARE(Q(GetBitRoleName(role)), name);
    QCOMPARE(Q(GetBitRoleColor(role)), color);
}

void TstBitUsage::rolesOutsideTheTableAreRefused()
{
    QCOMPARE(ThrownMessage<std::out_of_range>([] { GetBitRoleCharacter(-1); }), QString("nBitRole"));
    QCOMPARE(ThrownMessage<std::out_of_range>([] { GetBitRoleName(8); }), QString("nBitRole"));
    QCOMPARE(ThrownMessage<std::out_of_range>([] { GetBitRoleColor(-1); }), QString("nBitRole"));
    // Every function checks each entry's role, not only the ones it counts.
    const BitUsage bad = {{HostBit, 8}, {BitRole(9), 24}};
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetNetworkBitCount(bad); }), QString("nBitRole"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetHostBitCount(bad); }), QString("nBitRole"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetNetworkPart(bad); }), QString("nBitRole"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { FormatBitRoleLegendHtml(bad); }), QString("nBitRole"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { FormatBitUsageHtml(bad, A("1.2.3.4")); }), QString("nBitRole"));
}

void TstBitUsage::counts()
{
    QCOMPARE(GetNetworkBitCount(kClassC), 24u);
    QCOMPARE(GetHostBitCount(kClassC), 8u);
    const BitUsage subnetted = {{NetworkClassBit, 2}, {NetworkBit, 14}, {SubnetBit, 4},
                                {HostBit, 6}, {HostBit, 6}};
    QCOMPARE(GetNetworkBitCount(subnetted), 16u);
    QCOMPARE(GetHostBitCount(subnetted), 12u);
    QCOMPARE(GetNetworkPart(subnetted), BitUsage({{NetworkClassBit, 2}, {NetworkBit, 14}}));
    const BitUsage cidr = {{FixedBit, 16}, {CidrBit, 4}, {OpenBit, 12}};
    QCOMPARE(GetNetworkBitCount(cidr), 0u);
    QCOMPARE(GetHostBitCount(cidr), 0u);
    QVERIFY(GetNetworkPart(cidr).empty());
}

void TstBitUsage::bitString_data()
{
    QTest::addColumn<BitUsage>("usage");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("html");
    const QString ones = QString(8, '1');
    QTest::newRow("class C shows the class bits as digits")
        << kClassC << "192.168.1.7"
        << S("navy", "110") + S("navy", "nnnnn") + Dot() + S("navy", "nnnnnnnn") + Dot()
               + S("navy", "nnnnnnnn") + Dot() + S("green", "hhhhhhhh");
    QTest::newRow("all fixed, one span per octet")
        << BitUsage({{FixedBit, 32}}) << "255.255.255.255"
        << S("black", ones) + Dot() + S("black", ones) + Dot() + S("black", ones) + Dot() + S("black", ones);
    QTest::newRow("fixed octet then open bits")
        << BitUsage({{FixedBit, 8}, {OpenBit, 24}}) << "0.1.2.3"
        << S("black", "00000000") + Dot() + S("gray", "xxxxxxxx") + Dot() + S("gray", "xxxxxxxx") + Dot()
               + S("gray", "xxxxxxxx");
    QTest::newRow("multicast group")
        << BitUsage({{FixedBit, 4}, {GroupBit, 28}}) << "224.0.0.1"
        << S("black", "1110") + S("purple", "gggg") + Dot() + S("purple", "gggggggg") + Dot()
               + S("purple", "gggggggg") + Dot() + S("purple", "gggggggg");
    QTest::newRow("runs ending inside one octet")
        << BitUsage({{FixedBit, 20}, {CidrBit, 3}, {OpenBit, 9}}) << "172.16.255.1"
        << S("black", "10101100") + Dot() + S("black", "00010000") + Dot() + S("black", "1111")
               + S("teal", "ccc") + S("gray", "x") + Dot() + S("gray", "xxxxxxxx");
    QTest::newRow("empty run writes nothing")
        << BitUsage({{NetworkClassBit, 0}, {SubnetBit, 0}, {HostBit, 32}}) << "1.2.3.4"
        << S("green", "hhhhhhhh") + Dot() + S("green", "hhhhhhhh") + Dot() + S("green", "hhhhhhhh") + Dot()
               + S("green", "hhhhhhhh");
}

void TstBitUsage::bitString()
{
    QFETCH(BitUsage, usage);
    QFETCH(QString, address);
    QFETCH(QString, html);
    QCOMPARE(Q(FormatBitUsageHtml(usage, A(address.toLatin1().constData()))), html);
}

void TstBitUsage::bitStringNeedsAnAddressOnlyForItsOwnDigits()
{
    const BitUsage open = {{CidrBit, 8}, {OpenBit, 24}};
    QCOMPARE(Q(FormatBitUsageHtml(open, IPv4Address())),
             S("teal", "cccccccc") + Dot() + S("gray", "xxxxxxxx") + Dot() + S("gray", "xxxxxxxx") + Dot()
                 + S("gray", "xxxxxxxx"));
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([] { FormatBitUsageHtml(kClassC, IPv4Address()); }),
             QString("this"));
}

void TstBitUsage::legend_data()
{
    QTest::addColumn<BitUsage>("usage");
    QTest::addColumn<QString>("html");
    QTest::newRow("class C leaves the class bits out")
        << kClassC << S("navy", "n=Network") + "; " + S("green", "h=Host");
    QTest::newRow("only own digits gives nothing") << BitUsage({{FixedBit, 30}, {NetworkClassBit, 2}}) << "";
    QTest::newRow("open") << BitUsage({{FixedBit, 8}, {OpenBit, 24}}) << S("gray", "x=Open");
    QTest::newRow("cidr policy")
        << BitUsage({{FixedBit, 16}, {CidrBit, 4}, {OpenBit, 12}})
        << S("teal", "c=CIDR") + "; " + S("gray", "x=Open");
    QTest::newRow("repeated role is not merged")
        << BitUsage({{SubnetBit, 4}, {HostBit, 12}, {SubnetBit, 16}})
        << S("maroon", "s=Subnet") + "; " + S("green", "h=Host") + "; " + S("maroon", "s=Subnet");
}

void TstBitUsage::legend()
{
    QFETCH(BitUsage, usage);
    QFETCH(QString, html);
    QCOMPARE(Q(FormatBitRoleLegendHtml(usage)), html);
}

QTEST_APPLESS_MAIN(TstBitUsage)
#include "tst_bitusage.moc"
