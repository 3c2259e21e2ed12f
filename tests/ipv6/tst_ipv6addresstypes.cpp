#include "address/exceptionutil.h"
#include "common/exceptionmessage.h"
#include "ipv6/ipv6addresstypes.h"

#include <QtTest>

#include <functional>
#include <set>

namespace {

struct MatchExample
{
    const char* address;
    int typeID;
};

// At least one address for every type of the tree that can be the answer.
constexpr MatchExample MatchExamples[] = {
    {"::", 0},
    {"::1", 1},
    {"::2", 9},
    {"::10.0.0.1", 9},
    {"::ffff:1.2.3.4", 10},
    {"::ffff:0.0.0.0", 10},
    {"0100::1", 8},
    {"1fff:ffff::1", 8},
    {"::1:0:0:1", 8},
    {"fe80::1", 4},
    {"fe80::5efe:c0a8:101", 5},
    {"fe80:0:0:1::1", 3},
    {"febf::1", 3},
    {"fec0::1", 6},
    {"feff::1", 6},
    {"2001::1", 13},
    {"2001:0:4136:e378:8000:63bf:3fff:fdd2", 13},
    {"2001:db8::1", 12},
    {"3fff::1", 12},
    {"2002:c000:204::1", 14},
    {"4000::1", 11},
    {"8000::1", 11},
    {"fe00::1", 11},
    {"ff00::1", 15},
    {"ff03::1", 15},
    {"ff15::1", 15},
    {"ff01::1", 17},
    {"ff01::2", 18},
    {"ff01::3", 16},
    {"ff02::1", 20},
    {"ff02::2", 21},
    {"ff02::1:ff00:5", 19},
    {"ff02::1:ff00:1", 19},
    {"ff04::1", 23},
    {"ff05::1", 24},
    {"ff05::2", 25},
    {"ff08::1", 26},
    {"ff0e::1", 27},
};

// Type ids in pre-order: roots in order, each node before its children.
void PreOrder(const IPv6AddressTypeNode::List& nodes, QStringList& ids)
{
    for (const IPv6AddressTypeNode* node : nodes) {
        ids << QString::number(node->GetTypeID());
        PreOrder(node->GetChildren(), ids);
    }
}

IPv6AddressPattern PatternOf(int nTypeID)
{
    return GetIPv6AddressTypeInfo(nTypeID, IPv6AddressTypeInfo::PatternPart).pattern;
}

} // namespace

class TstIPv6AddressTypes : public QObject
{
    Q_OBJECT

private slots:
    void catalogue_data();
    void catalogue();
    void onlyRequestedPartsAreFilled();
    void badTypeIDThrows();
    void treeOrder();
    void treeLinks();
    void findType_data();
    void findType();
    void everyConcreteTypeIsFound();
    void matches_data();
    void matches();
    void applyTo_data();
    void applyTo();
    void maskBitsRange();
    void unsetPatternThrows();
    void invalidAddressThrows();
};

void TstIPv6AddressTypes::catalogue_data()
{
    QTest::addColumn<int>("typeID");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("patternText");
    QTest::addColumn<int>("maskBits");
    QTest::addColumn<bool>("deprecated");
    QTest::addColumn<bool>("abstract");

    struct Row
    {
        const char* name;
        const char* pattern;
        int maskBits;
        bool deprecated;
        bool abstract;
    };
    const Row rows[IPv6AddressTypeCount] = {
        {"Unspecified", "::/128", 128, false, false},
        {"Loopback", "::1/128", 128, false, false},
        {"Unicast", "", 0, false, true},
        {"Link-Local", "FE80::/10", 10, false, false},
        {"6over4", "FE80::/96", 96, false, false},
        {"ISATAP", "FE80::5EFE:0:0/96", 96, false, false},
        {"Site-Local", "FEC0::/10", 10, true, false},
        {"Global", "", 0, false, true},
        {"Unformatted", "::/3", 3, false, false},
        {"IPv4-Compatible", "::/96", 96, true, false},
        {"IPv4-Mapped", "::FFFF:0.0.0.0/96", 96, false, false},
        {"EUI-64 Formatted", "", 3, false, false},
        {"IANA Delegated", "2000::/3", 3, false, false},
        {"Teredo Tunneling", "2001::/32", 32, false, false},
        {"6to4", "2002::/16", 16, false, false},
        {"Multicast", "FF00::/8", 8, false, false},
        {"Interface-Local", "FF01::/16", 16, false, false},
        {"All Nodes", "FF01::1/128", 128, false, false},
        {"All Routers", "FF01::2/128", 128, false, false},
        {"Link-Local", "FF02::/16", 16, false, false},
        {"All Nodes", "FF02::1/128", 128, false, false},
        {"All Routers", "FF02::2/128", 128, false, false},
        {"Solicited-Node", "FF02::1:FF00:1/104", 104, false, false},
        {"Admin-Local", "FF04::/16", 16, false, false},
        {"Site-Local", "FF05::/16", 16, true, false},
        {"All Routers", "FF05::2/128", 128, true, false},
        {"Organization-Local", "FF08::/16", 16, false, false},
        {"Global", "FF0E::/16", 16, false, false},
    };
    for (int id = 0; id < IPv6AddressTypeCount; ++id) {
        const Row& row = rows[id];
        QTest::addRow("%d %s", id, row.name) << id << row.name << row.pattern << row.maskBits
                                             << row.deprecated << row.abstract;
    }
}

void TstIPv6AddressTypes::catalogue()
{
    QFETCH(int, typeID);
    QFETCH(QString, name);
    QFETCH(QString, patternText);
    QFETCH(int, maskBits);
    QFETCH(bool, deprecated);
    QFETCH(bool, abstract);

    const IPv6AddressTypeInfo info = GetIPv6AddressTypeInfo(typeID, IPv6AddressTypeInfo::AllParts);
    QCOMPARE(QString::fromStdString(info.name), name);
    QCOMPARE(QString::fromStdString(info.pattern.ToString()), patternText);
    QCOMPARE(int(info.pattern.GetMaskBits()), maskBits);
    QCOMPARE(info.deprecated, deprecated);
    QCOMPARE(info.pattern.IsNone(), abstract);
    QCOMPARE(info.pattern.IsAny(), typeID == 11);
}

void TstIPv6AddressTypes::onlyRequestedPartsAreFilled()
{
    const IPv6AddressTypeInfo nameOnly = GetIPv6AddressTypeInfo(6, IPv6AddressTypeInfo::NamePart);
    QCOMPARE(nameOnly.name, std::string("Site-Local"));
    QCOMPARE(nameOnly.pattern.GetKind(), IPv6AddressPattern::UnsetKind);
    QVERIFY(!nameOnly.deprecated);
    QVERIFY(nameOnly.fields.empty());

    const IPv6AddressTypeInfo fieldsOnly = GetIPv6AddressTypeInfo(3, IPv6AddressTypeInfo::FieldsPart);
    QVERIFY(fieldsOnly.name.empty());
    QCOMPARE(fieldsOnly.fields.size(), size_t(3));

    for (int id : {2, 7, 22})
        QVERIFY(GetIPv6AddressTypeInfo(id, IPv6AddressTypeInfo::AllParts).fields.empty());
}

void TstIPv6AddressTypes::badTypeIDThrows()
{
    for (int id : {-1, 28, 1000})
        QCOMPARE(ThrownMessage<std::out_of_range>(
                     [id] { GetIPv6AddressTypeInfo(id, IPv6AddressTypeInfo::NamePart); }),
                 QString("nTypeID"));
}

void TstIPv6AddressTypes::treeOrder()
{
    QStringList ids;
    PreOrder(GetIPv6AddressTypeRoots(), ids);
    QCOMPARE(ids.join(' '), QString("0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 23 24 25 26 27"));

    QStringList rootNames;
    for (const IPv6AddressTypeNode* root : GetIPv6AddressTypeRoots())
        rootNames << QString::fromStdString(root->GetName());
    QCOMPARE(rootNames, QStringList({"Unspecified", "Loopback", "Unicast", "Multicast"}));

    QStringList multicastChildren;
    for (const IPv6AddressTypeNode* child : GetIPv6AddressTypeRoots()[3]->GetChildren())
        multicastChildren << QString::number(child->GetTypeID());
    QCOMPARE(multicastChildren.join(' '), QString("16 19 23 24 26 27"));
}

void TstIPv6AddressTypes::treeLinks()
{
    // Every node's row is its place among its siblings and its parent lists it.
    std::function<void(const IPv6AddressTypeNode::List&, const IPv6AddressTypeNode*)> check =
        [&](const IPv6AddressTypeNode::List& nodes, const IPv6AddressTypeNode* parent) {
            for (size_t row = 0; row < nodes.size(); ++row) {
                QCOMPARE(nodes[row]->GetRow(), int(row));
                QCOMPARE(nodes[row]->GetParent(), parent);
                check(nodes[row]->GetChildren(), nodes[row]);
            }
        };
    check(GetIPv6AddressTypeRoots(), nullptr);
    // The tree is built once: the same nodes every time.
    QCOMPARE(&GetIPv6AddressTypeRoots(), &GetIPv6AddressTypeRoots());

    const IPv6AddressTypeNode* unicast = GetIPv6AddressTypeRoots()[2];
    QVERIFY(unicast->IsAbstract());
    QVERIFY(unicast->GetChildren()[2]->IsAbstract());
    QVERIFY(unicast->GetChildren()[1]->IsDeprecated());
    QCOMPARE(unicast->GetChildren()[0]->GetPattern().ToString(), std::string("FE80::/10"));
    QCOMPARE(unicast->GetChildren()[0]->GetFields().size(), size_t(3));
}

void TstIPv6AddressTypes::findType_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("typeID");
    for (const MatchExample& example : MatchExamples)
        QTest::addRow("%s gives %d", example.address, example.typeID) << example.address << example.typeID;
}

void TstIPv6AddressTypes::findType()
{
    QFETCH(QString, address);
    QFETCH(int, typeID);

    const IPv6AddressTypeNode* node = FindIPv6AddressType(IPv6Address(address.toStdString()));
    QVERIFY(node);
    QCOMPARE(node->GetTypeID(), typeID);
}

void TstIPv6AddressTypes::everyConcreteTypeIsFound()
{
    std::set<int> found;
    for (const MatchExample& example : MatchExamples)
        found.insert(example.typeID);
    std::set<int> concrete;
    std::function<void(const IPv6AddressTypeNode::List&)> collect = [&](const IPv6AddressTypeNode::List& nodes) {
        for (const IPv6AddressTypeNode* node : nodes) {
            if (!node->IsAbstract())
                concrete.insert(node->GetTypeID());
            collect(node->GetChildren());
        }
    };
    collect(GetIPv6AddressTypeRoots());
    QCOMPARE(found, concrete);
    QCOMPARE(concrete.size(), size_t(25));
}

void TstIPv6AddressTypes::matches_data()
{
    QTest::addColumn<int>("typeID");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("matches");

    QTest::newRow("link-local takes the first 10 bits") << 3 << "febf:ffff::" << true;
    QTest::newRow("link-local refuses bit 9 clear") << 3 << "fe7f::" << false;
    QTest::newRow("unformatted takes top bits 000") << 8 << "1fff::" << true;
    QTest::newRow("unformatted refuses 001") << 8 << "2000::" << false;
    QTest::newRow("any matches everything") << 11 << "::" << true;
    QTest::newRow("none matches nothing") << 2 << "fe80::" << false;
    QTest::newRow("solicited-node ignores the last 24 bits") << 22 << "ff02::1:ffab:cdef" << true;
    QTest::newRow("solicited-node needs bits 96 to 103") << 22 << "ff02::1:fe00:1" << false;
    QTest::newRow("host pattern needs every bit") << 1 << "::3" << false;
}

void TstIPv6AddressTypes::matches()
{
    QFETCH(int, typeID);
    QFETCH(QString, address);
    QFETCH(bool, matches);
    QCOMPARE(PatternOf(typeID).Matches(IPv6Address(address.toStdString())), matches);
}

void TstIPv6AddressTypes::applyTo_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("typeID");
    QTest::addColumn<QString>("result");

    QTest::newRow("6to4 on FE80::1 gives 2002::1") << "fe80::1" << 14 << "2002::1";
    QTest::newRow("ISATAP on 2001:DB8::1") << "2001:db8::1" << 5 << "FE80::5EFE:0:1";
    QTest::newRow("link-local keeps an address already under it") << "fe80::1" << 3 << "FE80::1";
    QTest::newRow("10 bits keep the rest of byte 1") << "2001:db8::1" << 6 << "FEC1:DB8::1";
    QTest::newRow("3 bits keep the rest of byte 0") << "ffff::1" << 8 << "1FFF::1";
    QTest::newRow("3 bits set bit 2") << "::1" << 12 << "2000::1";
    QTest::newRow("host pattern replaces everything") << "2001:db8::1" << 20 << "FF02::1";
    QTest::newRow("abstract type leaves the address") << "2001:db8::1" << 2 << "2001:DB8::1";
    QTest::newRow("any pattern leaves the address") << "2001:db8::1" << 11 << "2001:DB8::1";
}

void TstIPv6AddressTypes::applyTo()
{
    QFETCH(QString, address);
    QFETCH(int, typeID);
    QFETCH(QString, result);

    IPv6Address changed(address.toStdString());
    PatternOf(typeID).ApplyTo(changed);
    QCOMPARE(QString::fromStdString(changed.ToString(IPv6Address::CompressedNotation)), result);
}

void TstIPv6AddressTypes::maskBitsRange()
{
    const IPv6Address prefix("fe80::");
    for (int bits : {0, 129, -1}) {
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { IPv6AddressPattern(prefix, bits); }), QString("nMaskBits"));
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { IPv6AddressPattern::CreateAny(bits); }),
                 QString("nMaskBits"));
    }
    QCOMPARE(IPv6AddressPattern(prefix, 1).ToString(), std::string("FE80::/1"));
    QCOMPARE(IPv6AddressPattern(prefix, 128).GetMaskBits(), quint8(128));
    QCOMPARE(IPv6AddressPattern::CreateAny(128).GetMaskBits(), quint8(128));
    QCOMPARE(IPv6AddressPattern::CreateNone().GetMaskBits(), quint8(0));
    QVERIFY(!IPv6AddressPattern::CreateNone().GetAddress().IsValid());
}

void TstIPv6AddressTypes::unsetPatternThrows()
{
    const IPv6AddressPattern unset;
    IPv6Address address("::1");
    const QString expected("this");
    using Invalid = ExceptionUtil::invalid_operation;
    QCOMPARE(ThrownMessage<Invalid>([&] { unset.Matches(address); }), expected);
    QCOMPARE(ThrownMessage<Invalid>([&] { unset.ApplyTo(address); }), expected);
    QCOMPARE(ThrownMessage<Invalid>([&] { unset.ToString(); }), expected);
    QCOMPARE(ThrownMessage<Invalid>([&] { unset.GetMaskBits(); }), expected);
    QCOMPARE(ThrownMessage<Invalid>([&] { unset.IsNone(); }), expected);
    QCOMPARE(ThrownMessage<Invalid>([&] { unset.IsAny(); }), expected);
}

void TstIPv6AddressTypes::invalidAddressThrows()
{
    IPv6Address invalid;
    using Invalid = ExceptionUtil::invalid_operation;
    QCOMPARE(ThrownMessage<Invalid>([&] { PatternOf(3).Matches(invalid); }), QString("this"));
    QCOMPARE(ThrownMessage<Invalid>([&] { PatternOf(3).ApplyTo(invalid); }), QString("this"));
}

QTEST_APPLESS_MAIN(TstIPv6AddressTypes)
#include "tst_ipv6addresstypes.moc"
