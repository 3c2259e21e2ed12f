// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/addressregistry.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "common/datarows.h"
#include "common/exceptionmessage.h"

#include <QHostAddress>
#include <QTest>
#include <QtEndian>

namespace {

using R = AddressRegistry;

const char* const GU = "Global Unicast";
const char* const Res = "Reserved by IETF";
const char* const Ietf4 = "IETF Protocol Assignments (RFC 6890 §2.1)";
const char* const Ietf6 = "IETF Protocol Assignments (RFC 2928)";
const char* const Private = "Private-Use (RFC 1918)";

// A registry block, the space of its first and last address, and that of the address just after it
// (just before it at the top of the space); first or last where a more specific row holds them.
struct Block
{
    const char* block;
    const char* inside;
    const char* outside;
    const char* first = nullptr;
    const char* last = nullptr;
};

// clang-format off
const Block Blocks[] = {
    {"0.0.0.0/8", "\"This network\" (RFC 791 §3.2)", GU, "\"This host on this network\" (RFC 1122 §3.2.1.3)"},
    {"0.0.0.0/32", "\"This host on this network\" (RFC 1122 §3.2.1.3)", "\"This network\" (RFC 791 §3.2)"}, {"10.0.0.0/8", Private, GU},
    {"192.0.0.0/24", Ietf4, GU, "IPv4 Service Continuity Prefix (RFC 7335)"},
    {"192.0.0.0/29", "IPv4 Service Continuity Prefix (RFC 7335)", "IPv4 dummy address (RFC 7600)"},
    {"192.0.0.10/32", "Traversal Using Relays around NAT Anycast (RFC 8155)", Ietf4},
    {"192.0.0.170/32", "NAT64/DNS64 Discovery (RFC 8880, RFC 7050 §2.2)", "NAT64/DNS64 Discovery (RFC 8880, RFC 7050 §2.2)"},
    {"240.0.0.0/4", "Reserved (RFC 1112 §4)", "Administratively Scoped Block (RFC 2365)", nullptr, "Limited Broadcast (RFC 8190, RFC 919 §7)"},
    {"255.255.255.255/32", "Limited Broadcast (RFC 8190, RFC 919 §7)", "Reserved (RFC 1112 §4)"},
    {"::/128", "Unspecified Address (RFC 4291)", "Loopback Address (RFC 4291)"}, {"::1/128", "Loopback Address (RFC 4291)", Res},
    {"100::/64", "Discard-Only Address Block (RFC 6666)", "Dummy IPv6 Prefix (RFC 9780)"},
    {"2001::/23", Ietf6, GU, "TEREDO (RFC 4380, RFC 8190)"}, {"2001::/32", "TEREDO (RFC 4380, RFC 8190)", Ietf6},
    {"2001:30::/28", "Drone Remote ID Protocol Entity Tags (DETs) (RFC 9374)", Ietf6},
    {"fc00::/7", "Unique-Local (RFC 4193, RFC 8190)", Res}, {"fe80::/10", "Link-Local Unicast (RFC 4291)", Res},
};
// clang-format on

// The first and last address of "a/n" and the one just outside it.
QStringList Edges(const QString& block)
{
    using U128 = unsigned __int128;
    const auto [net, length] = QHostAddress::parseSubnet(block);
    const int bits = net.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128;
    U128 first = 0;
    for (int i = 16 - bits / 8; i < 16; ++i) // IPv4 comes as ::ffff:a.b.c.d
        first = first << 8 | net.toIPv6Address()[i];
    const U128 last = first | ((U128(1) << (bits - length)) - 1), top = ~U128(0) >> (128 - bits);
    const auto show = [bits](U128 v) {
        Q_IPV6ADDR b;
        for (int i = 15; i >= 0; --i, v >>= 8)
            b[i] = static_cast<quint8>(v);
        return bits == 32 ? QHostAddress(qFromBigEndian<quint32>(b.c + 12)).toString() : QHostAddress(b).toString();
    };
    return {show(first), show(last), show(last == top ? first - 1 : last + 1)};
}

// The result of v6 for an address with a colon, else of v4 for a dotted IPv4 address.
QString Of(const QString& address, const std::function<std::string(const IPv4Address&)>& v4,
           const std::function<std::string(const IPv6Address&)>& v6)
{
    const std::string text = address.toStdString();
    return QString::fromStdString(address.contains(':') ? v6(IPv6Address(text))
                                                        : v4(IPv4Address(text, IPv4Address::DottedDecimal)));
}

} // namespace

class TstAddressRegistry : public QObject
{
    Q_OBJECT

private slots:
    void space_data()
    {
        // details: the flags or block in words rather than the name
        AddColumns<QString, QString, bool>("address", "expected", "details");
        for (const Block& b : Blocks) {
            const QStringList edges = Edges(b.block);
            const QString cases[3] = {b.first ? b.first : b.inside, b.last ? b.last : b.inside, b.outside};
            const char* const names[3] = {"first", "last", "just outside"};
            for (int i = 0; i < 3; ++i)
                QTest::addRow("%s %s %s", b.block, names[i], qPrintable(edges[i]))
                    << edges[i] << QString(cases[i]) << false;
        }
        // clang-format off
        QTest::newRow("global unicast below multicast") << "223.255.255.255" << GU << false;
        QTest::newRow("multicast block end") << "224.0.0.255" << "Local Network Control Block (RFC 5771)" << false;
        QTest::newRow("next multicast block") << "224.0.1.0" << "Internetwork Control Block (RFC 5771)" << false;
        QTest::newRow("group mDNS") << "224.0.0.251" << "Local Network Control Block: mDNS" << false;
        QTest::newRow("all nodes") << "ff02::1" << "Multicast (Link-Local scope, permanent): All Nodes" << false;
        QTest::newRow("solicited-node") << "FF02::1:FF12:3456" << "Multicast (Link-Local scope, permanent): Solicited-Node" << false;
        QTest::newRow("no all nodes in site scope") << "ff05::1" << "Multicast (Site-Local scope, permanent)" << false;
        QTest::newRow("mDNSv6 in reserved scope") << "ff0f::fb" << "Multicast (reserved scope, permanent): mDNSv6" << false;
        QTest::newRow("groups need flags 0") << "ff12::1" << "Multicast (Link-Local scope, transient)" << false;
        QTest::newRow("scope 6 unassigned") << "ff06::1" << "Multicast (unassigned scope, permanent)" << false;
        QTest::newRow("unicast-prefix-based") << "ff38:40:2001:db8::1" << "Multicast (Organization-Local scope, transient, unicast-prefix-based)" << false;
        QTest::newRow("source-specific") << "ff34::8000:1" << "Multicast (Admin-Local scope, transient, unicast-prefix-based, source-specific)" << false;
        QTest::newRow("embedded RP") << "ff7e:140:2001:db8::1" << "Multicast (Global scope, transient, unicast-prefix-based, embedded RP)" << false;
        QTest::newRow("invalid IPv4") << "bad" << "" << false;
        QTest::newRow("invalid IPv6") << "1::2::3" << "" << false;
        QTest::newRow("limited broadcast flags") << "255.255.255.255" << "Source: no\nDestination: yes\nForwardable: no\nGlobally reachable: no\nReserved by protocol: yes" << true;
        QTest::newRow("TEREDO flags") << "2001::1" << "Source: yes\nDestination: yes\nForwardable: yes\nGlobally reachable: not applicable\nReserved by protocol: no" << true;
        QTest::newRow("multicast block note") << "233.252.0.1" << "233.252.0.0 – 233.255.255.255, RFC 5771; 233.252.0.0/24: MCAST-TEST-NET, documentation, RFC 6676" << true;
        QTest::newRow("IPv4 global unicast") << "8.8.8.8" << "" << true;
        QTest::newRow("IPv6 multicast") << "ff02::1" << "ff00::/8, RFC 4291" << true;
        QTest::newRow("IPv6 reserved") << "4000::" << "Reserved by IETF, RFC 4291" << true;
        QTest::newRow("IPv6 global unicast") << "2a00::1" << "" << true;
        QTest::newRow("invalid") << "1::2::3" << "" << true;
        // clang-format on
    }

    void space()
    {
        QFETCH(QString, address);
        QFETCH(bool, details);
        QTEST(details ? Of(address, R::IPv4AddressSpaceDetails, R::IPv6AddressSpaceDetails)
                      : Of(address, R::IPv4AddressSpace, R::IPv6AddressSpace),
              "expected");
    }

    // Per carrier of an IPv4 address (Teredo as RFC 4380's example): its kind's index, the address and port.
    void embeddedIPv4_data()
    {
        AddColumns<QString, QString>("address", "expected");
        // clang-format off
        QTest::newRow("mapped") << "::ffff:192.0.2.1" << "0 192.0.2.1 -1";
        QTest::newRow("compatible") << "::192.0.2.1" << "1 192.0.2.1 -1";
        QTest::newRow(":: and ::1 are not compatible") << "::1" << "";
        QTest::newRow("6to4, ISATAP inside it") << "2002:c000:221::5efe:a00:1" << "2 192.0.2.33 -1, 3 10.0.0.1 -1";
        QTest::newRow("ISATAP, global id") << "fe80::200:5efe:c000:201" << "3 192.0.2.1 -1";
        QTest::newRow("Teredo") << "2001:0:4136:e378:8000:63bf:3fff:fdd2" << "4 65.54.227.120 -1, 5 192.0.2.45 40000";
        QTest::newRow("NAT64") << "64:ff9b::c000:221" << "6 192.0.2.33 -1";
        QTest::newRow("no multicast") << "ff02::5efe:c000:201" << "";
        // clang-format on
    }
    void embeddedIPv4()
    {
        QFETCH(QString, address);
        QStringList found;
        for (const R::EmbeddedIPv4& e : R::EmbeddedIPv4Addresses(IPv6Address(address.toStdString())))
            found << QString("%1 %2 %3")
                         .arg(static_cast<int>(e.embedding))
                         .arg(QString::fromStdString(e.address.ToString(IPv4Address::DottedDecimal)))
                         .arg(e.port);
        QTEST(found.join(", "), "expected");
    }

    // Only an address an interface can have joins a solicited-node group.
    void solicitedNode()
    {
        QStringList groups;
        for (const char* address : {"2001:db8::1:800:200e:8c6c", "::", "::1", "::ffff:10.0.0.1", "ff02::1"})
            groups << QString::fromStdString(R::SolicitedNodeAddress(IPv6Address(address)).ToString(0));
        QCOMPARE(groups.join(' '), "FF02::1:FF0E:8C6C    ");
    }

    // A MAC in each notation on 2001:db8::/64 (RFC 4291 appendix A's example), and back; refused text.
    void eui64Address_data()
    {
        AddColumns<QString, QString>("mac", "expected");
        // clang-format off
        QTest::newRow("colons") << "00:11:22:33:44:55" << "2001:DB8::211:22FF:FE33:4455 00:11:22:33:44:55";
        QTest::newRow("RFC 4291 dashes") << "34-56-78-9A-BC-DE" << "2001:DB8::3656:78FF:FE9A:BCDE 34:56:78:9A:BC:DE";
        QTest::newRow("dots, lower case") << "0011.2233.44aa" << "2001:DB8::211:22FF:FE33:44AA 00:11:22:33:44:AA";
        // clang-format on
        for (const char* bad : {"00:11:22:33:44", "00:11-22:33:44:55", "0011.2233.445g", "00112233445500"})
            QTest::newRow(bad) << bad << "refused";
    }
    void eui64Address()
    {
        QFETCH(QString, mac);
        R::MacAddress bytes{};
        const bool parsed = R::ParseMacAddress(mac.toStdString(), bytes);
        const IPv6Address address = R::Eui64Address(IPv6Address("2001:db8::ffff:ffff:ffff:ffff"), bytes);
        R::MacAddress back{};
        QVERIFY(!parsed || R::GetEui64MacAddress(address, back));
        QTEST(parsed ? QString::fromStdString(address.ToString(0) + " " + R::MacAddressText(back)) : "refused",
              "expected");
    }

    void reverseDns_data()
    {
        // expected: "nPrefixLength" when it throws
        AddColumns<QString, int, QString>("address", "length", "expected");
        QTest::newRow("IPv4 address") << "10.1.2.3" << 32 << "3.2.1.10.in-addr.arpa";
        QTest::newRow("IPv4 /8 zone") << "10.0.0.0" << 8 << "10.in-addr.arpa";
        QTest::newRow("IPv4 /0 zone") << "10.0.0.0" << 0 << "in-addr.arpa";
        QTest::newRow("IPv4 /20 throws") << "10.0.0.0" << 20 << "nPrefixLength";
        QTest::newRow("IPv6 /32 zone") << "2001:db8::" << 32 << "8.b.d.0.1.0.0.2.ip6.arpa";
        QTest::newRow("IPv6 /0 zone") << "2001:db8::" << 0 << "ip6.arpa";
        QTest::newRow("IPv6 /30 throws") << "2001:db8::" << 30 << "nPrefixLength";
    }

    void reverseDns()
    {
        QFETCH(QString, address);
        QFETCH(int, length);
        const auto reverse = [length](const auto& a) { return R::ReverseDnsName(a, length); };
        QString name;
        const QString thrown = ThrownMessage<std::out_of_range>([&] { name = Of(address, reverse, reverse); });
        QTEST(thrown == "no exception" ? name : thrown, "expected");
    }
};

QTEST_APPLESS_MAIN(TstAddressRegistry)
#include "tst_addressregistry.moc"
