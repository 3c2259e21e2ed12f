// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/exceptionutil.h"
#include "common/datarows.h"
#include "common/exceptionmessage.h"
#include "ipv6/ipv6addressfield.h"
#include "ipv6/ipv6addresstypes.h"

#include <QtTest>

#include <functional>

namespace {

using enum IPv6AddressTypeID;
using Info = IPv6AddressTypeInfo;

const QString Sub2 = QStringLiteral("<sub>2</sub>");
const QString PlainInterface = QStringLiteral("64|00:00:00:00:00:00:00:01|EUI-64 Interface ID");

IPv6AddressPattern PatternOf(IPv6AddressTypeID type)
{
    return GetIPv6AddressTypeInfo(static_cast<int>(type), Info::PatternPart).pattern;
}

// "bits|value|name" per field, joined by "; ".
QString Describe(IPv6AddressTypeID type, const IPv6Address& address)
{
    QStringList parts;
    for (const IPv6AddressField& field : GetIPv6AddressTypeInfo(static_cast<int>(type), Info::FieldsPart).fields)
        parts << QString::fromStdString(std::to_string(field.GetBitCount()) + '|' + field.GetValue(address) + '|'
                                        + field.GetName(address));
    return parts.join("; ");
}

const auto Mcast = [](const QString& flags, const QString& scope, const QString& group) {
    return "8|0xFF|Multicast Prefix; 4|" + flags + Sub2 + "|Flags; 4|" + scope + "; 112|" + group;
};

// Walks the tree below parent, counting its nodes: every node knows its row and parent, solicited-node
// is not listed, the children of a deprecated type are deprecated, and a child's prefix lies inside its parent's.
void CheckTree(const IPv6AddressTypeNode::List& nodes, const IPv6AddressTypeNode* parent, int& count)
{
    for (size_t row = 0; row < nodes.size(); ++row, ++count) {
        const IPv6AddressTypeNode* node = nodes[row];
        const IPv6AddressPattern inner = node->GetPattern(), outer = parent ? parent->GetPattern() : inner;
        QVERIFY2(node->GetRow() == static_cast<int>(row) && node->GetParent() == parent
                     && node->GetTypeID() != static_cast<int>(SolicitedNode)
                     && (!parent || !parent->IsDeprecated() || node->IsDeprecated()),
                 node->GetName().c_str());
        if (inner.GetKind() == IPv6AddressPattern::PrefixKind && outer.GetKind() == IPv6AddressPattern::PrefixKind)
            QVERIFY2(inner.GetMaskBits() >= outer.GetMaskBits() && outer.Matches(inner.GetAddress()),
                     node->GetName().c_str());
        CheckTree(node->GetChildren(), node, count);
    }
}

} // namespace

class TstIPv6AddressTypes : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        AddColumns<QString, IPv6AddressTypeID, QString>("address", "type", "fields");

        // clang-format off
        QTest::newRow("ISATAP") << "fe80::5efe:c0a8:101" << ISATAP << "10|0xFE80|Link-Local Prefix; 86|0:0:0:0:5EFE|ISATAP Constant; 32|192.168.1.1|IPv4 Address";
        QTest::newRow("link-local: scope in byte 3 only, MAC-48 interface") << "fe80:ab::211:22ff:fe33:4455" << LinkLocal << "10|0xFE80|Link-Local Prefix; 54|0xab|Mangled Scope ID; 64|02:11:22:FF:FE:33:44:55|MAC-48-Derived Interface " "ID";
        QTest::newRow("link-local: unused scope, FF without FE is EUI-64") << "fe80::211:22ff:ff33:4455" << LinkLocal << "10|0xFE80|Link-Local Prefix; 54|0|Unused; 64|02:11:22:FF:FF:33:44:55|EUI-64 Interface ID";
        QTest::newRow("site-local subnet ID drops the prefix bits of byte 1") << "fefc:0:0:1::1" << SiteLocal << "10|0xFEC0|Site-Local Prefix; 54|0x3C000000000001|Subnet ID; " + PlainInterface;
        QTest::newRow("1FFF:: is the last unformatted") << "1fff:ffff::" << Unformatted << "3|000" + Sub2 + "|Unformatted Prefix; 125|1FFF:FFFF:0000:0000:0000:0000:0000:0000|Unknown";
        QTest::newRow("Teredo: flags in capitals, port and client inverted") << "2001:0:4136:e378:abcd:63bf:3fff:fdd2" << Teredo << "32|2001:0000|Teredo Prefix; 32|65.54.227.120|Teredo Server Address; 16|0xABCD|Teredo Flags; " "16|40000|Obfuscated NAT UDP Port; 32|192.0.2.45|Obfuscated NAT Public IPv4 Address";
        QTest::newRow("FF7E::1 flags .RPT") << "ff7e::1" << GlobalScope << Mcast(".RPT", "0xE|Global Scope", "0000:0000:0000:0000:0000:0000:0001|Group ID");
        QTest::newRow("FFFF:: high flag bit stays a dot") << "ffff::" << Multicast << Mcast(".RPT", "0xF|Reserved Scope", "0000:0000:0000:0000:0000:0000:0000|Group ID");
        // clang-format on
    }

    void layout()
    {
        QFETCH(QString, address);
        QFETCH(IPv6AddressTypeID, type);
        QTEST(Describe(type, IPv6Address(address.toStdString())), "fields");
    }

    // Any address under any type: the fields of a type add up to 128 bits (only the abstract types and
    // solicited-node have none), no field is blank, and the type's prefix applied makes it match.
    void everyTypeLaysOutAnyAddress()
    {
        for (const char* text :
             {"::", "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff", "2001:0:4136:e378:8000:63bf:3fff:fdd2"}) {
            const IPv6Address address(text);
            for (int id = 0; id < IPv6AddressTypeCount; ++id) {
                const Info info = GetIPv6AddressTypeInfo(id, Info::AllParts);
                int width = 0;
                for (const IPv6AddressField& field : info.fields) {
                    width += field.GetBitCount();
                    QVERIFY(!field.GetName(address).empty() && !field.GetValue(address).empty());
                }
                QCOMPARE(width, info.pattern.IsNone() || id == static_cast<int>(SolicitedNode) ? 0 : 128);
                IPv6Address applied = address;
                info.pattern.ApplyTo(applied);
                QCOMPARE(info.pattern.Matches(applied), !info.pattern.IsNone());
            }
        }
    }

    // Every type but the unlisted solicited-node is in the tree, and only the parts asked for are filled.
    void tree()
    {
        int listed = 0;
        CheckTree(GetIPv6AddressTypeRoots(), nullptr, listed);
        QCOMPARE(listed, IPv6AddressTypeCount - 1);
        const Info nameOnly = GetIPv6AddressTypeInfo(static_cast<int>(SiteLocal), Info::NamePart);
        QCOMPARE(nameOnly.name, std::string("Site-Local"));
        QVERIFY(nameOnly.pattern.GetKind() == IPv6AddressPattern::UnsetKind && !nameOnly.deprecated
                && nameOnly.fields.empty());
        QVERIFY(GetIPv6AddressTypeInfo(static_cast<int>(LinkLocal), Info::FieldsPart).name.empty());
    }

    void findType_data()
    {
        AddColumns<QString, IPv6AddressTypeID>("address", "type");
        // The deepest type of the RFCs' examples: RFC 4291 2.2, 2.3, 2.7, 2.7.1 (solicited-node FF02::1:FF0E:8C6C is
        // not listed), 4193, 6052 2.4; built by RFC 3056 2 (RFC 3068's relay 192.88.99.1), 4380 4, 5214 6.1.
        // clang-format off
        const std::pair<const char*, IPv6AddressTypeID> examples[] = {
            {"::", Unspecified}, {"::1", Loopback}, {"::13.1.68.3", IPv4Compatible},
            {"::FFFF:129.144.52.38", IPv4Mapped}, {"2001:DB8:0:0:8:800:200C:417A", IANADelegated},
            {"4037::01:800:200E:8C6C", EUI64Formatted}, {"FF15::101", Multicast}, {"FF02::101", LinkLocalScope},
            {"FF02::1", LinkLocalAllNodes}, {"FF05::2", SiteLocalAllRouters}, {"FF02::1:FF0E:8C6C", LinkLocalScope},
            {"FC00::", EUI64Formatted}, {"64:ff9b::192.0.2.33", Unformatted}, {"2002:c058:6301::", SixToFour},
            {"FE80::5EFE:192.0.2.1", ISATAP}, {"2001:0:4136:e378:8000:63bf:3fff:fdd2", Teredo}};
        // clang-format on
        for (const auto& [address, type] : examples)
            QTest::addRow("%s", address) << address << type;
    }

    void findType()
    {
        QFETCH(QString, address);
        QFETCH(IPv6AddressTypeID, type);
        const IPv6AddressTypeNode* node = FindIPv6AddressType(IPv6Address(address.toStdString()));
        QCOMPARE(node ? node->GetTypeID() : -1, static_cast<int>(type));
    }

    void pattern_data()
    {
        AddColumns<IPv6AddressTypeID, QString, bool, QString>("type", "address", "matches", "applied");

        // clang-format off
        QTest::newRow("site-local keeps the rest of byte 1") << SiteLocal << "2001:db8::1" << false << "FEC1:DB8::1";
        QTest::newRow("ISATAP keeps the IPv4 part") << ISATAP << "2001:db8::1" << false << "FE80::5EFE:0:1";
        QTest::newRow("solicited-node ignores the last 24 bits") << SolicitedNode << "ff02::1:ffab:cdef" << true << "FF02::1:FFAB:CDEF";
        QTest::newRow("solicited-node needs bits 96 to 103") << SolicitedNode << "ff02::1:fe00:1" << false << "FF02::1:FF00:1";
        QTest::newRow("none pattern") << Unicast << "fe80::" << false << "FE80::";
        // clang-format on
    }

    void pattern()
    {
        QFETCH(IPv6AddressTypeID, type);
        QFETCH(QString, address);
        IPv6Address changed(address.toStdString());
        QTEST(PatternOf(type).Matches(changed), "matches");
        PatternOf(type).ApplyTo(changed);
        QTEST(QString::fromStdString(changed.ToString(IPv6Address::CompressedNotation)), "applied");
    }

    void refusals()
    {
        const IPv6Address prefix("fe80::");
        QCOMPARE(IPv6AddressPattern(prefix, 1).ToString() + " " + IPv6AddressPattern(prefix, 128).ToString(),
                 std::string("FE80::/1 FE80::/128"));

        const IPv6AddressPattern unset;
        IPv6Address invalid;
        const IPv6AddressField badKind(17, 0, 8, "name", "value");
        const std::function<void()> calls[] = {[&] { unset.Matches(prefix); }, [&] { unset.ApplyTo(invalid); },
                                               [&] { PatternOf(LinkLocal).Matches(invalid); },
                                               [&] { badKind.GetName(prefix); }};
        for (const std::function<void()>& call : calls)
            QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>(call), "this");
    }
};

QTEST_APPLESS_MAIN(TstIPv6AddressTypes)
#include "tst_ipv6addresstypes.moc"
