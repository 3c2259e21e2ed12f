#include "address/exceptionutil.h"
#include "common/exceptionmessage.h"
#include "ipv6/ipv6addressfield.h"
#include "ipv6/ipv6addresstypes.h"

#include <QtTest>

#include <functional>

namespace {

// "bits|value|name" per field, joined by "; ".
QString Describe(int nTypeID, const IPv6Address& address)
{
    QStringList parts;
    for (const IPv6AddressField& field : GetIPv6AddressTypeInfo(nTypeID, IPv6AddressTypeInfo::FieldsPart).fields)
        parts << QString("%1|%2|%3")
                     .arg(field.GetBitCount())
                     .arg(QString::fromStdString(field.GetValue(address)),
                          QString::fromStdString(field.GetName(address)));
    return parts.join("; ");
}

const QString Sub2 = QStringLiteral("<sub>2</sub>");
const QString NoInterfaceBits = QStringLiteral("64|00:00:00:00:00:00:00:01|EUI-64 Interface ID");

QString Multicast(const QString& flags, const QString& scope, const QString& group)
{
    return "8|0xFF|Multicast Prefix; 4|" + flags + Sub2 + "|Flags; 4|" + scope + "; 112|" + group;
}

} // namespace

class TstIPv6AddressField : public QObject
{
    Q_OBJECT

private slots:
    void widthsAddUpTo128_data();
    void widthsAddUpTo128();
    void layout_data();
    void layout();
    void scopeWords_data();
    void scopeWords();
    void bitRange_data();
    void bitRange();
    void recordOverridesKind();
    void badKindThrows();
    void invalidAddressThrows();
};

void TstIPv6AddressField::widthsAddUpTo128_data()
{
    QTest::addColumn<int>("typeID");
    for (int id = 0; id < IPv6AddressTypeCount; ++id) {
        if (id != 2 && id != 7 && id != 22)
            QTest::addRow("type %d", id) << id;
    }
}

void TstIPv6AddressField::widthsAddUpTo128()
{
    QFETCH(int, typeID);
    int total = 0;
    for (const IPv6AddressField& field : GetIPv6AddressTypeInfo(typeID, IPv6AddressTypeInfo::FieldsPart).fields)
        total += field.GetBitCount();
    QCOMPARE(total, 128);
}

void TstIPv6AddressField::layout_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("typeID");
    QTest::addColumn<QString>("fields");

    QTest::newRow("unspecified constant") << "::" << 0 << "128|0000...0000" + Sub2 + "|Unspecified Address Constant";
    QTest::newRow("loopback constant is spelt right") << "::1" << 1
                                                      << "128|0000...0001" + Sub2 + "|Loopback Address Constant";
    QTest::newRow("6over4 FE80::1") << "fe80::1" << 4
                                    << "10|0xFE80|Link-Local Prefix; 86|0|6over4 Constant; 32|0.0.0.1|IPv4 Address";
    QTest::newRow("ISATAP") << "fe80::5efe:c0a8:101" << 5
                            << "10|0xFE80|Link-Local Prefix; 86|0:0:0:0:5EFE|ISATAP Constant; 32|192.168.1.1|IPv4 Address";
    QTest::newRow("link-local FE80::1 is unused scope") << "fe80::1" << 3
                                                        << "10|0xFE80|Link-Local Prefix; 54|0|Unused; " + NoInterfaceBits;
    QTest::newRow("link-local FE80:5::1 has a mangled scope")
        << "fe80:5::1" << 3 << "10|0xFE80|Link-Local Prefix; 54|0x5|Mangled Scope ID; " + NoInterfaceBits;
    QTest::newRow("mangled scope in lowercase hexadecimal")
        << "fe80:ab1::1" << 3 << "10|0xFE80|Link-Local Prefix; 54|0xab1|Mangled Scope ID; " + NoInterfaceBits;
    QTest::newRow("MAC-48-derived interface ID")
        << "fe80::211:22ff:fe33:4455" << 3
        << "10|0xFE80|Link-Local Prefix; 54|0|Unused; 64|02:11:22:FF:FE:33:44:55|MAC-48-Derived Interface ID";
    QTest::newRow("FF FE elsewhere is EUI-64")
        << "fe80::2ff:fe11:2233:4455" << 3
        << "10|0xFE80|Link-Local Prefix; 54|0|Unused; 64|02:FF:FE:11:22:33:44:55|EUI-64 Interface ID";
    QTest::newRow("site-local subnet ID") << "fec0:0:0:1::1" << 6
                                          << "10|0xFEC0|Site-Local Prefix; 54|0x00000000000001|Subnet ID; " + NoInterfaceBits;
    QTest::newRow("unformatted ::1") << "::1" << 8
                                     << "3|000" + Sub2
                                            + "|Unformatted Prefix; 125|0000:0000:0000:0000:0000:0000:0000:0001|Unknown";
    QTest::newRow("unformatted 1FFF:: drops the format bits")
        << "1fff:ffff::" << 8
        << "3|000" + Sub2 + "|Unformatted Prefix; 125|1FFF:FFFF:0000:0000:0000:0000:0000:0000|Unknown";
    QTest::newRow("IPv4-compatible ::2")
        << "::2" << 9
        << "3|000" + Sub2
               + "|Unformatted Prefix; 77|0|Embedded IPv4 Address Prefix; 16|0000|IPv4-Compatible Constant; "
                 "32|0.0.0.2|IPv4 Address";
    QTest::newRow("IPv4-mapped ::FFFF:10.1.2.3")
        << "::ffff:10.1.2.3" << 10
        << "3|000" + Sub2
               + "|Unformatted Prefix; 77|0|Embedded IPv4 Address Prefix; 16|FFFF|IPv4-Mapped Constant; "
                 "32|10.1.2.3|IPv4 Address";
    QTest::newRow("IANA-delegated 2001:DB8::1")
        << "2001:db8::1" << 12 << "3|001" + Sub2 + "|IANA-Delegated Prefix; 61|0001:0DB8:0000:0000|Unknown; " + NoInterfaceBits;
    QTest::newRow("EUI-64 formatted 4000::1")
        << "4000::1" << 11 << "3|010" + Sub2 + "|EUI-64 Formatted Prefix; 61|0000:0000:0000:0000|Unknown; " + NoInterfaceBits;
    QTest::newRow("EUI-64 formatted E000::1")
        << "e123::1" << 11 << "3|111" + Sub2 + "|EUI-64 Formatted Prefix; 61|0123:0000:0000:0000|Unknown; " + NoInterfaceBits;
    QTest::newRow("Teredo decodes port and client inverted")
        << "2001:0:4136:e378:8000:63bf:3fff:fdd2" << 13
        << "32|2001:0000|Teredo Prefix; 32|65.54.227.120|Teredo Server Address; 16|0x8000|Teredo Flags; "
           "16|40000|Obfuscated NAT UDP Port; 32|192.0.2.45|Obfuscated NAT Public IPv4 Address";
    QTest::newRow("Teredo all-ones port and client read as zero")
        << "2001:0:0:0:0:ffff:ffff:ffff" << 13
        << "32|2001:0000|Teredo Prefix; 32|0.0.0.0|Teredo Server Address; 16|0x0000|Teredo Flags; "
           "16|0|Obfuscated NAT UDP Port; 32|0.0.0.0|Obfuscated NAT Public IPv4 Address";
    QTest::newRow("6to4") << "2002:c000:204:1::1" << 14
                          << "16|2002|6to4 Prefix; 32|192.0.2.4|IPv4 Address; 16|0x0001|Subnet ID; " + NoInterfaceBits;
    QTest::newRow("FF02::1 all nodes")
        << "ff02::1" << 20
        << Multicast("....", "0x2|Link-Local Scope",
                     "0000:0000:0000:0000:0000:0000:0001|All Nodes Group ID");
    QTest::newRow("FF01::2 all routers")
        << "ff01::2" << 18
        << Multicast("....", "0x1|Intf-Local Scope",
                     "0000:0000:0000:0000:0000:0000:0002|All Routers Group ID");
    QTest::newRow("FF3E::1 flags ..PT, global scope")
        << "ff3e::1" << 27 << Multicast("..PT", "0xE|Global Scope", "0000:0000:0000:0000:0000:0000:0001|Group ID");
    QTest::newRow("FF7E::1 flags .RPT")
        << "ff7e::1" << 27 << Multicast(".RPT", "0xE|Global Scope", "0000:0000:0000:0000:0000:0000:0001|Group ID");
    QTest::newRow("FF1E::1234 flag T only")
        << "ff1e::1234" << 27 << Multicast("...T", "0xE|Global Scope", "0000:0000:0000:0000:0000:0000:1234|Group ID");
    QTest::newRow("FFFF:: high flag bit stays a dot")
        << "ffff::" << 15 << Multicast(".RPT", "0xF|Reserved Scope", "0000:0000:0000:0000:0000:0000:0000|Group ID");
    QTest::newRow("FF06::1 unassigned scope")
        << "ff06::1" << 15 << Multicast("....", "0x6|Unassigned Scope", "0000:0000:0000:0000:0000:0000:0001|Group ID");
    QTest::newRow("FF00::1 reserved scope")
        << "ff00::1" << 15 << Multicast("....", "0x0|Reserved Scope", "0000:0000:0000:0000:0000:0000:0001|Group ID");
    QTest::newRow("FF02::1:FF00:5 solicited group")
        << "ff02::1:ff00:5" << 19 << Multicast("....", "0x2|Link-Local Scope", "0000:0000:0000:0000:0001:FF00:0005|Group ID");
}

void TstIPv6AddressField::layout()
{
    QFETCH(QString, address);
    QFETCH(int, typeID);
    QFETCH(QString, fields);
    QCOMPARE(Describe(typeID, IPv6Address(address.toStdString())), fields);
}

void TstIPv6AddressField::scopeWords_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("name");

    const char* const words[16] = {"Reserved ",   "Intf-Local ", "Link-Local ", "Reserved ",
                                   "Admin-Local ", "Site-Local ", "Unassigned ", "Unassigned ",
                                   "Org-Local ",  "Unassigned ", "Unassigned ", "Unassigned ",
                                   "Unassigned ", "Unassigned ", "Global ",     "Reserved "};
    for (int scope = 0; scope < 16; ++scope)
        QTest::addRow("scope %X", scope) << scope << QString(words[scope]) + "Scope";
}

void TstIPv6AddressField::scopeWords()
{
    QFETCH(int, scope);
    QFETCH(QString, name);

    const IPv6Address address(0xFF00000000000000ull | quint64(scope) << 48, 1);
    const IPv6AddressField field(IPv6AddressField::MulticastScopeKind);
    QCOMPARE(QString::fromStdString(field.GetName(address)), name);
    QCOMPARE(QString::fromStdString(field.GetValue(address)), "0x" + QString::number(scope, 16).toUpper());
    QCOMPARE(field.GetBitCount(), quint8(4));
}

void TstIPv6AddressField::bitRange_data()
{
    QTest::addColumn<int>("firstBit");
    QTest::addColumn<int>("bitCount");
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<bool>("uppercase");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("groupBytes");
    QTest::addColumn<QString>("text");

    // Bytes of 0123:4567:89AB:CDEF:FEDC:BA98:7654:3210.
    QTest::newRow("whole address in pairs") << 0 << 128 << false << true << ":" << 2
                                            << "0123:4567:89AB:CDEF:FEDC:BA98:7654:3210";
    QTest::newRow("count 0 runs to the end") << 64 << 0 << false << true << ":" << 1
                                             << "FE:DC:BA:98:76:54:32:10";
    QTest::newRow("lowercase with prefix") << 32 << 32 << true << false << "" << 1 << "0x89abcdef";
    QTest::newRow("bits outside the range read as 0") << 4 << 8 << true << true << "" << 1 << "0x0120";
    QTest::newRow("range inside one byte") << 9 << 3 << true << true << "" << 1 << "0x20";
    QTest::newRow("groups count from the first byte") << 8 << 40 << false << true << ":" << 2
                                                      << "2345:6789:AB";
}

void TstIPv6AddressField::bitRange()
{
    QFETCH(int, firstBit);
    QFETCH(int, bitCount);
    QFETCH(bool, prefix);
    QFETCH(bool, uppercase);
    QFETCH(QString, separator);
    QFETCH(int, groupBytes);
    QFETCH(QString, text);

    const IPv6Address address(0x0123456789ABCDEF, 0xFEDCBA9876543210);
    const char separatorChar = separator.isEmpty() ? '\0' : separator.at(0).toLatin1();
    QCOMPARE(QString::fromStdString(FormatIPv6BitRange(address.GetBytes(), quint8(firstBit), quint8(bitCount),
                                                       prefix, uppercase, separatorChar, quint32(groupBytes))),
             text);
}

void TstIPv6AddressField::recordOverridesKind()
{
    const IPv6Address address("fe80::1");
    const IPv6AddressField named(IPv6AddressField::LinkLocalPrefixKind, "Prefix");
    QCOMPARE(named.GetName(address), std::string("Prefix"));
    QCOMPARE(named.GetValue(address), std::string("0xFE80"));
    QCOMPARE(named.GetBitCount(), quint8(10));

    const IPv6AddressField fixed(IPv6AddressField::IPv4AddressKind, 96, 20, "Tail", "fixed");
    QCOMPARE(fixed.GetBitCount(), quint8(20));
    QCOMPARE(fixed.GetValue(address), std::string("fixed"));

    // Kinds without a name or width of their own leave them empty.
    const IPv6AddressField zero(IPv6AddressField::ZeroKind);
    QCOMPARE(zero.GetName(address), std::string());
    QCOMPARE(zero.GetBitCount(), quint8(0));
    QCOMPARE(zero.GetValue(address), std::string("0"));

    // A constant never reads the address.
    const IPv6AddressField constant(IPv6AddressField::ConstantKind, 0, 16, "6to4 Prefix", "2002");
    QCOMPARE(constant.GetValue(IPv6Address()), std::string("2002"));
}

void TstIPv6AddressField::badKindThrows()
{
    const IPv6Address address("::1");
    using Invalid = ExceptionUtil::invalid_operation;
    for (qint32 kind : {0, 17, -1}) {
        const IPv6AddressField field(kind, 0, 8, "name", "value");
        QCOMPARE(ThrownMessage<Invalid>([&] { field.GetBitCount(); }), QString("this"));
        QCOMPARE(ThrownMessage<Invalid>([&] { field.GetName(address); }), QString("this"));
        QCOMPARE(ThrownMessage<Invalid>([&] { field.GetValue(address); }), QString("this"));
    }
}

void TstIPv6AddressField::invalidAddressThrows()
{
    const IPv6Address invalid;
    using Invalid = ExceptionUtil::invalid_operation;
    const IPv6AddressField prefix(IPv6AddressField::FormatPrefixKind);
    QCOMPARE(ThrownMessage<Invalid>([&] { prefix.GetName(invalid); }), QString("this"));
    QCOMPARE(ThrownMessage<Invalid>([&] { prefix.GetValue(invalid); }), QString("this"));
    const IPv6AddressField ipv4(IPv6AddressField::IPv4AddressKind, 96, 0, "", "");
    QCOMPARE(ThrownMessage<Invalid>([&] { ipv4.GetValue(invalid); }), QString("this"));
}

QTEST_APPLESS_MAIN(TstIPv6AddressField)
#include "tst_ipv6addressfield.moc"
