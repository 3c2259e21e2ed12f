#include "address/exceptionutil.h"
#include "common/exceptionmessage.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"

#include <QBuffer>
#include <QDataStream>
#include <QVariant>
#include <QtTest>

#include <functional>

namespace {

QByteArray Streamed(const IPv6Address& address)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << address;
    return bytes;
}

IPv6Address Parsed(const char* text)
{
    return IPv6Address(std::string(text));
}

} // namespace

class TstIPv6Address : public QObject
{
    Q_OBJECT

private slots:
    void toString_data();
    void toString();
    void binaryNotation();
    void invalidAddressFormatsEmpty();
    void badNotationThrows();
    void parse_data();
    void parse();
    void parseKeepsOnlyTheBytes();
    void halvesFillBytesMostSignificantFirst();
    void byteAccess();
    void invalidAddressThrows();
    void embeddedIPv4Address_data();
    void embeddedIPv4Address();
    void equality();
    void streamBytes_data();
    void streamBytes();
    void streamRoundTrip_data();
    void streamRoundTrip();
    void streamKeepsBytesOfInvalidAddress();
    void streamRejectsBadInput_data();
    void streamRejectsBadInput();
    void variantRoundTrip();
};

void TstIPv6Address::toString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("compressed");
    QTest::addColumn<QString>("uncompressed");
    QTest::addColumn<QString>("expanded");

    QTest::newRow("all zero is ::") << "::" << "::" << "0:0:0:0:0:0:0:0"
                                    << "0000:0000:0000:0000:0000:0000:0000:0000";
    QTest::newRow("loopback has no IPv4 tail") << "::1" << "::1" << "0:0:0:0:0:0:0:1"
                                               << "0000:0000:0000:0000:0000:0000:0000:0001";
    QTest::newRow("link-local compresses the middle") << "fe80::1" << "FE80::1" << "FE80:0:0:0:0:0:0:1"
                                                      << "FE80:0000:0000:0000:0000:0000:0000:0001";
    QTest::newRow("equal zero runs compress the later")
        << "2001:db8:0:0:1:0:0:1" << "2001:DB8:0:0:1::1" << "2001:DB8:0:0:1:0:0:1"
        << "2001:0DB8:0000:0000:0001:0000:0000:0001";
    QTest::newRow("equal zero runs between groups compress the later")
        << "1:0:0:2:3:0:0:4" << "1:0:0:2:3::4" << "1:0:0:2:3:0:0:4"
        << "0001:0000:0000:0002:0003:0000:0000:0004";
    QTest::newRow("longer run wins over a later shorter one")
        << "1:0:0:0:2:0:0:3" << "1::2:0:0:3" << "1:0:0:0:2:0:0:3"
        << "0001:0000:0000:0000:0002:0000:0000:0003";
    QTest::newRow("single zero group is not compressed")
        << "1:0:2:3:4:5:6:7" << "1:0:2:3:4:5:6:7" << "1:0:2:3:4:5:6:7"
        << "0001:0000:0002:0003:0004:0005:0006:0007";
    QTest::newRow("run at the end gives trailing ::") << "dead:beef::" << "DEAD:BEEF::" << "DEAD:BEEF:0:0:0:0:0:0"
                                                      << "DEAD:BEEF:0000:0000:0000:0000:0000:0000";
    QTest::newRow("run at the start gives leading ::")
        << "0:0:2:3:4:5:6:7" << "::2:3:4:5:6:7" << "0:0:2:3:4:5:6:7"
        << "0000:0000:0002:0003:0004:0005:0006:0007";
    QTest::newRow("no zero group") << "1234:5678:9abc:def0:1:22:333:4444"
                                   << "1234:5678:9ABC:DEF0:1:22:333:4444"
                                   << "1234:5678:9ABC:DEF0:1:22:333:4444"
                                   << "1234:5678:9ABC:DEF0:0001:0022:0333:4444";
    QTest::newRow("mapped tail") << "::ffff:192.168.1.1" << "::FFFF:192.168.1.1"
                                 << "0:0:0:0:0:FFFF:192.168.1.1" << "0000:0000:0000:0000:0000:FFFF:192.168.1.1";
    QTest::newRow("mapped tail of 0.0.0.0") << "::ffff:0:0" << "::FFFF:0.0.0.0" << "0:0:0:0:0:FFFF:0.0.0.0"
                                            << "0000:0000:0000:0000:0000:FFFF:0.0.0.0";
    QTest::newRow("compatible tail") << "::10.0.0.1" << "::10.0.0.1" << "0:0:0:0:0:0:10.0.0.1"
                                     << "0000:0000:0000:0000:0000:0000:10.0.0.1";
    QTest::newRow("::2 is compatible") << "::2" << "::0.0.0.2" << "0:0:0:0:0:0:0.0.0.2"
                                       << "0000:0000:0000:0000:0000:0000:0.0.0.2";
    QTest::newRow("no tail when byte 9 is set") << "0:0:0:0:1:ffff:0:1" << "::1:FFFF:0:1"
                                                << "0:0:0:0:1:FFFF:0:1" << "0000:0000:0000:0000:0001:FFFF:0000:0001";
    QTest::newRow("no tail when bytes 10 and 11 are neither 0 nor FFFF")
        << "::fffe:1.2.3.4" << "::FFFE:102:304" << "0:0:0:0:0:FFFE:102:304"
        << "0000:0000:0000:0000:0000:FFFE:0102:0304";
    QTest::newRow("all ones") << "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"
                              << "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF"
                              << "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF"
                              << "FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF";
}

void TstIPv6Address::toString()
{
    QFETCH(QString, text);
    QFETCH(QString, compressed);
    QFETCH(QString, uncompressed);
    QFETCH(QString, expanded);

    const IPv6Address address(text.toStdString());
    QVERIFY(address.IsValid());
    QCOMPARE(QString::fromStdString(address.ToString(IPv6Address::CompressedNotation)), compressed);
    QCOMPARE(QString::fromStdString(address.ToString(IPv6Address::UncompressedNotation)), uncompressed);
    QCOMPARE(QString::fromStdString(address.ToString(IPv6Address::ExpandedNotation)), expanded);
    // The compressed text reads back as the same address.
    QCOMPARE(IPv6Address(compressed.toStdString()), address);
}

void TstIPv6Address::binaryNotation()
{
    const QString zeros(16, QLatin1Char('0'));
    const QString firstLine = QStringList({zeros, zeros, zeros, zeros}).join(':');
    const QString loopback = firstLine + "\n" + QStringList({zeros, zeros, zeros, "0000000000000001"}).join(':');
    QCOMPARE(QString::fromStdString(Parsed("::1").ToString(IPv6Address::BinaryNotation)), loopback);

    // The binary notation never has an IPv4 tail.
    const std::string mapped = Parsed("::ffff:1.2.3.4").ToString(IPv6Address::BinaryNotation);
    QCOMPARE(QString::fromStdString(mapped),
             firstLine + "\n" + zeros + ":1111111111111111:"
                 + "0000000100000010:0000001100000100");
}

void TstIPv6Address::invalidAddressFormatsEmpty()
{
    const IPv6Address invalid;
    QVERIFY(!invalid.IsValid());
    for (int notation = 0; notation <= 3; ++notation)
        QCOMPARE(invalid.ToString(notation), std::string());
}

void TstIPv6Address::badNotationThrows()
{
    const IPv6Address valid = Parsed("::1");
    const IPv6Address invalid;
    for (int notation : {-1, 4}) {
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { valid.ToString(notation); }), QString("nNotation"));
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { invalid.ToString(notation); }), QString("nNotation"));
    }
}

void TstIPv6Address::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("IPv4 text is refused") << "192.168.1.1" << false;
    QTest::newRow("empty text is refused") << "" << false;
    QTest::newRow("a word is refused") << "localhost" << false;
    QTest::newRow("lowercase is accepted") << "fe80::abcd" << true;
    QTest::newRow("dotted tail is accepted") << "::ffff:192.168.1.1" << true;
}

void TstIPv6Address::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    IPv6Address address = Parsed("1::1");
    QCOMPARE(address.Parse(text.toStdString()), accepted);
    QCOMPARE(address.IsValid(), accepted);
    if (!accepted)
        QCOMPARE(address, IPv6Address());
}

void TstIPv6Address::parseKeepsOnlyTheBytes()
{
    const IPv6Address mapped = Parsed("::ffff:192.168.1.1");
    const quint8 expected[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 192, 168, 1, 1};
    for (quint32 i = 0; i < 16; ++i)
        QCOMPARE(mapped.GetByte(i), expected[i]);

    // A scope suffix the parser accepts is dropped.
    const IPv6Address scoped = Parsed("fe80::1%1");
    QVERIFY(scoped.IsValid());
    QCOMPARE(scoped, Parsed("fe80::1"));
}

void TstIPv6Address::halvesFillBytesMostSignificantFirst()
{
    QCOMPARE(IPv6Address(0xFE80000000000000, 0x00005EFE00000000), Parsed("FE80::5EFE:0:0"));
    QCOMPARE(IPv6Address(0x0123456789ABCDEF, 0xFEDCBA9876543210),
             Parsed("123:4567:89ab:cdef:fedc:ba98:7654:3210"));

    Q_IPV6ADDR raw{};
    raw[0] = 0x20;
    raw[1] = 0x01;
    raw[15] = 0x07;
    QCOMPARE(IPv6Address(raw), Parsed("2001::7"));
    IPv6Address assigned;
    assigned = raw;
    QVERIFY(assigned.IsValid());
    QCOMPARE(assigned, Parsed("2001::7"));
}

void TstIPv6Address::byteAccess()
{
    IPv6Address address = Parsed("fe80::1");
    address.GetByte(0) = 0x20;
    address.GetByte(1) = 0x02;
    QCOMPARE(address, Parsed("2002::1"));
    QCOMPARE(address.GetBytes()[15], quint8(1));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { address.GetByte(16); }), QString("nByteIndex"));
}

void TstIPv6Address::invalidAddressThrows()
{
    IPv6Address invalid;
    const IPv6Address& constInvalid = invalid;
    IPv4Address ipv4;
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { invalid.GetBytes(); }), QString("this"));
    // Validity is checked before the index.
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { invalid.GetByte(16); }), QString("this"));
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { constInvalid.GetByte(0); }),
             QString("this"));
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { invalid.GetEmbeddedIPv4Address(ipv4); }),
             QString("this"));
}

void TstIPv6Address::embeddedIPv4Address_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("embedded");
    QTest::addColumn<QString>("ipv4");

    QTest::newRow("mapped") << "::ffff:10.1.2.3" << true << "10.1.2.3";
    QTest::newRow("mapped 0.0.0.0") << "::ffff:0.0.0.0" << true << "0.0.0.0";
    QTest::newRow("mapped 0.0.0.1") << "::ffff:0.0.0.1" << true << "0.0.0.1";
    QTest::newRow("compatible") << "::192.0.2.1" << true << "192.0.2.1";
    QTest::newRow("compatible 0.0.0.2") << "::2" << true << "0.0.0.2";
    QTest::newRow("unspecified is not compatible") << "::" << false << "0.0.0.0";
    QTest::newRow("loopback is not compatible") << "::1" << false << "0.0.0.0";
    QTest::newRow("non-zero high bytes") << "1::ffff:1.2.3.4" << false << "0.0.0.0";
    QTest::newRow("bytes 10 and 11 are 0001") << "::1:1.2.3.4" << false << "0.0.0.0";
}

void TstIPv6Address::embeddedIPv4Address()
{
    QFETCH(QString, text);
    QFETCH(bool, embedded);
    QFETCH(QString, ipv4);

    IPv4Address result(0x01020304);
    QCOMPARE(IPv6Address(text.toStdString()).GetEmbeddedIPv4Address(result), embedded);
    QVERIFY(result.IsValid());
    QCOMPARE(QString::fromStdString(result.ToString(IPv4Address::DottedDecimal)), ipv4);
}

void TstIPv6Address::equality()
{
    const IPv6Address unspecified = Parsed("::");
    QVERIFY(IPv6Address() == IPv6Address());
    QVERIFY(!(IPv6Address() != IPv6Address()));
    QVERIFY(IPv6Address() != unspecified);
    QVERIFY(unspecified == IPv6Address(0, 0));
    QVERIFY(Parsed("::1") != Parsed("::2"));
    QVERIFY(Parsed("8000::") != Parsed("::"));
}

void TstIPv6Address::streamBytes_data()
{
    QTest::addColumn<IPv6Address>("address");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("invalid is seventeen zero bytes") << IPv6Address() << QByteArray(17, '\0');
    QTest::newRow("unspecified") << Parsed("::") << QByteArray::fromHex("01" "00000000000000000000000000000000");
    QTest::newRow("loopback") << Parsed("::1") << QByteArray::fromHex("01" "00000000000000000000000000000001");
    QTest::newRow("high bits survive as signed bytes")
        << Parsed("fe80::ff:8001") << QByteArray::fromHex("01" "fe8000000000000000000000" "00ff8001");
}

void TstIPv6Address::streamBytes()
{
    QFETCH(IPv6Address, address);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Streamed(address).toHex(), bytes.toHex());
}

void TstIPv6Address::streamRoundTrip_data()
{
    QTest::addColumn<IPv6Address>("address");
    QTest::newRow("invalid") << IPv6Address();
    QTest::newRow("unspecified") << Parsed("::");
    QTest::newRow("mapped") << Parsed("::ffff:192.168.1.1");
    QTest::newRow("all ones") << Parsed("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff");
    QTest::newRow("mixed") << IPv6Address(0x8badf00ddeadbeef, 0x0123456789abcdef);
}

void TstIPv6Address::streamRoundTrip()
{
    QFETCH(IPv6Address, address);
    QByteArray bytes = Streamed(address);
    QDataStream in(bytes);
    IPv6Address read = Parsed("1::1");
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(read, address);
    QVERIFY(in.atEnd());
}

void TstIPv6Address::streamKeepsBytesOfInvalidAddress()
{
    const QByteArray bytes = QByteArray::fromHex("00" "0102030405060708090a0b0c0d0e0f10");
    QDataStream in(bytes);
    IPv6Address read;
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    QVERIFY(!read.IsValid());
    QCOMPARE(Streamed(read), bytes);
}

void TstIPv6Address::streamRejectsBadInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");

    QTest::newRow("empty input") << QByteArray() << int(QDataStream::ReadPastEnd);
    QTest::newRow("flag only") << QByteArray::fromHex("01") << int(QDataStream::ReadPastEnd);
    QTest::newRow("one byte short") << QByteArray::fromHex("01" "000000000000000000000000000001")
                                    << int(QDataStream::ReadPastEnd);
    QTest::newRow("flag 2 is corrupt") << QByteArray::fromHex("02" "00000000000000000000000000000001")
                                       << int(QDataStream::ReadCorruptData);
    QTest::newRow("flag ff is corrupt") << QByteArray::fromHex("ff" "00000000000000000000000000000001")
                                        << int(QDataStream::ReadCorruptData);
}

void TstIPv6Address::streamRejectsBadInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);

    QDataStream in(bytes);
    IPv6Address read = Parsed("1::1");
    in >> read;
    QCOMPARE(int(in.status()), status);
    QVERIFY(!read.IsValid());
    QCOMPARE(Streamed(read), QByteArray(17, '\0'));
}

void TstIPv6Address::variantRoundTrip()
{
    IPv6Address::RegisterMetaType();
    IPv6Address::RegisterMetaType();
    QCOMPARE(QMetaType::fromName("IPv6Address"), QMetaType::fromType<IPv6Address>());

    const IPv6Address address = Parsed("2001:db8::8:800:200c:417a");
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << QVariant::fromValue(address);
    }
    QDataStream in(bytes);
    QVariant read;
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(read.metaType(), QMetaType::fromType<IPv6Address>());
    QCOMPARE(read.value<IPv6Address>(), address);
    // The value's own layout follows the type name inside the variant.
    QVERIFY(bytes.endsWith(Streamed(address)));
}

QTEST_APPLESS_MAIN(TstIPv6Address)
#include "tst_ipv6address.moc"
