#include "address/bitusage.h"
#include "address/exceptionutil.h"
#include "address/ipv4address.h"
#include "common/exceptionmessage.h"

#include <QTest>

Q_DECLARE_METATYPE(BitUsage)

namespace {

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

const BitUsage kClassC = {{NetworkClassBit, 3}, {NetworkBit, 21}, {HostBit, 8}};

} // namespace

class TstBitUsage : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void countsAndRefusals();
};

void TstBitUsage::format_data()
{
    QTest::addColumn<BitUsage>("usage");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("legend");
    const QString n8 = S("navy", "nnnnnnnn"), x8 = S("gray", "xxxxxxxx"), h8 = S("green", "hhhhhhhh");
    QTest::newRow("class C shows class bits as digits, legend leaves them out")
        << kClassC << "192.168.1.7" << Octets(S("navy", "110") + S("navy", "nnnnn"), n8, n8, h8)
        << S("navy", "n=Network") + "; " + S("green", "h=Host");
    QTest::newRow("all fixed, one span per octet, empty legend")
        << BitUsage({{FixedBit, 30}, {NetworkClassBit, 2}}) << "255.255.255.255"
        << Octets(S("black", "11111111"), S("black", "11111111"), S("black", "11111111"),
                  S("black", "111111") + S("navy", "11"))
        << "";
    QTest::newRow("multicast group")
        << BitUsage({{FixedBit, 4}, {GroupBit, 28}}) << "224.0.0.1"
        << Octets(S("black", "1110") + S("purple", "gggg"), S("purple", "gggggggg"), S("purple", "gggggggg"),
                  S("purple", "gggggggg"))
        << S("purple", "g=Group");
    QTest::newRow("runs ending inside one octet")
        << BitUsage({{FixedBit, 20}, {CidrBit, 3}, {OpenBit, 9}}) << "172.16.255.1"
        << Octets(S("black", "10101100"), S("black", "00010000"), S("black", "1111") + S("teal", "ccc") + S("gray", "x"),
                  x8)
        << S("teal", "c=CIDR") + "; " + S("gray", "x=Open");
    QTest::newRow("no own digits needs no address; empty runs write nothing; roles repeat")
        << BitUsage({{SubnetBit, 0}, {SubnetBit, 4}, {HostBit, 12}, {SubnetBit, 16}}) << ""
        << Octets(S("maroon", "ssss") + S("green", "hhhh"), h8, S("maroon", "ssssssss"), S("maroon", "ssssssss"))
        << S("maroon", "s=Subnet") + "; " + S("maroon", "s=Subnet") + "; " + S("green", "h=Host") + "; "
               + S("maroon", "s=Subnet");
}

void TstBitUsage::format()
{
    QFETCH(BitUsage, usage);
    QFETCH(QString, address);
    QFETCH(QString, html);
    QFETCH(QString, legend);
    const IPv4Address ip(address.toStdString(), IPv4Address::DottedDecimal);
    QCOMPARE(Q(FormatBitUsageHtml(usage, ip)), html);
    QCOMPARE(Q(FormatBitRoleLegendHtml(usage)), legend);
}

void TstBitUsage::countsAndRefusals()
{
    const BitUsage subnetted = {{NetworkClassBit, 2}, {NetworkBit, 14}, {SubnetBit, 4}, {HostBit, 6}, {HostBit, 6}};
    QCOMPARE(GetNetworkBitCount(subnetted), 16u);
    QCOMPARE(GetHostBitCount(subnetted), 12u);
    QCOMPARE(GetNetworkPart(subnetted), BitUsage({{NetworkClassBit, 2}, {NetworkBit, 14}}));
    QCOMPARE(GetNetworkBitCount({{FixedBit, 16}, {CidrBit, 4}, {OpenBit, 12}}), 0u);
    QCOMPARE(Q(GetBitRoleName(GroupBit)) + GetBitRoleCharacter(OpenBit) + Q(GetBitRoleColor(OpenBit)), "Groupxgray");

    const QString refused("nBitRole");
    QCOMPARE(ThrownMessage<std::out_of_range>([] { GetBitRoleCharacter(-1); }), refused);
    QCOMPARE(ThrownMessage<std::out_of_range>([] { GetBitRoleName(8); }), refused);
    // Every function checks each entry's role, not only the ones it counts.
    const BitUsage bad = {{HostBit, 8}, {BitRole(8), 24}};
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetNetworkBitCount(bad); }), refused);
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { GetHostBitCount(bad); }), refused);
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { FormatBitRoleLegendHtml(bad); }), refused);
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([] { FormatBitUsageHtml(kClassC, IPv4Address()); }),
             QString("this"));
}

QTEST_APPLESS_MAIN(TstBitUsage)
#include "tst_bitusage.moc"
