#include "address/exceptionutil.h"
#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "common/exceptionmessage.h"

#include <QDataStream>
#include <QTest>

static IPv6Address P(const char* text) { return IPv6Address(std::string(text)); }

class TstIPv6Address : public QObject
{
    Q_OBJECT

private slots:
    void toString_data();
    void toString();
    void parseAndBytes();
    void embeddedIPv4Address_data();
    void embeddedIPv4Address();
    void stream_data();
    void stream();
};

void TstIPv6Address::toString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("notation");
    QTest::addColumn<QString>("expected");
    const int compressed = IPv6Address::CompressedNotation;
    QTest::newRow("all zero is ::") << "::" << compressed << "::";
    QTest::newRow("loopback has no IPv4 tail") << "::1" << compressed << "::1";
    QTest::newRow("equal zero runs compress the later") << "1:0:0:2:3:0:0:4" << compressed << "1:0:0:2:3::4";
    QTest::newRow("longer run wins over a later one") << "1:0:0:0:2:0:0:3" << compressed << "1::2:0:0:3";
    QTest::newRow("single zero group stays") << "1:0:2:3:4:5:6:7" << compressed << "1:0:2:3:4:5:6:7";
    QTest::newRow("run at the end") << "dead:beef::" << compressed << "DEAD:BEEF::";
    QTest::newRow("run at the start") << "0:0:2:3:4:5:6:7" << compressed << "::2:3:4:5:6:7";
    QTest::newRow("mapped tail") << "::ffff:0:0" << compressed << "::FFFF:0.0.0.0";
    QTest::newRow("::2 is compatible") << "::2" << compressed << "::0.0.0.2";
    QTest::newRow("no tail after FFFE") << "::fffe:1.2.3.4" << compressed << "::FFFE:102:304";
    QTest::newRow("uncompressed") << "1::ab" << int(IPv6Address::UncompressedNotation) << "1:0:0:0:0:0:0:AB";
    QTest::newRow("expanded") << "fe80::ab" << int(IPv6Address::ExpandedNotation)
                              << "FE80:0000:0000:0000:0000:0000:0000:00AB";
    QTest::newRow("binary: two lines, never a tail")
        << "::ffff:1.2.3.4" << int(IPv6Address::BinaryNotation)
        << QStringList(4, QString(16, '0')).join(':') + "\n" + QString(16, '0')
               + ":1111111111111111:0000000100000010:0000001100000100";
}

void TstIPv6Address::toString()
{
    QFETCH(QString, text);
    QFETCH(int, notation);
    QFETCH(QString, expected);
    const IPv6Address address(text.toStdString());
    QCOMPARE(QString::fromStdString(address.ToString(notation)), expected);
    if (notation != IPv6Address::BinaryNotation)
        QCOMPARE(IPv6Address(expected.toStdString()), address);
}

void TstIPv6Address::parseAndBytes()
{
    IPv6Address address = P("1::1");
    for (const char* refused : {"192.168.1.1", "", "localhost"}) {
        QVERIFY2(!address.Parse(refused), refused);
        QCOMPARE(address, IPv6Address());
    }
    QCOMPARE(address.ToString(IPv6Address::BinaryNotation), std::string());
    for (int notation : {-1, 4})
        QCOMPARE(ThrownMessage<std::out_of_range>([&] { address.ToString(notation); }), QString("nNotation"));
    // Validity is checked before the index.
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { address.GetByte(16); }), QString("this"));

    QCOMPARE(IPv6Address(0x0123456789ABCDEF, 0xFEDCBA9876543210), P("123:4567:89ab:cdef:fedc:ba98:7654:3210"));
    QVERIFY(IPv6Address() != P("::") && P("8000::") != P("::"));
    address = P("fe80::1");
    address.GetByte(1) = 0x02;
    QCOMPARE(address, P("fe02::1"));
    QCOMPARE(std::as_const(address).GetByte(15), quint8(1));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { address.GetByte(16); }), QString("nByteIndex"));
    IPv6Address::RegisterMetaType(); // settings find the type by this name
    QCOMPARE(QMetaType::fromName("IPv6Address"), QMetaType::fromType<IPv6Address>());
}

void TstIPv6Address::embeddedIPv4Address_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ipv4"); // empty when none is embedded
    QTest::newRow("mapped 0.0.0.1") << "::ffff:0.0.0.1" << "0.0.0.1";
    QTest::newRow("compatible") << "::192.0.2.1" << "192.0.2.1";
    QTest::newRow("loopback is not compatible") << "::1" << "";
    QTest::newRow("non-zero byte 9") << "::1:0:1.2.3.4" << "";
    QTest::newRow("bytes 10 and 11 are 0001") << "::1:1.2.3.4" << "";
}

void TstIPv6Address::embeddedIPv4Address()
{
    QFETCH(QString, text);
    QFETCH(QString, ipv4);
    IPv4Address result(0x01020304);
    QCOMPARE(IPv6Address(text.toStdString()).GetEmbeddedIPv4Address(result), !ipv4.isEmpty());
    QCOMPARE(QString::fromStdString(result.ToString(IPv4Address::DottedDecimal)), ipv4.isEmpty() ? "0.0.0.0" : ipv4);
}

void TstIPv6Address::stream_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<IPv6Address>("address");
    const int ok = QDataStream::Ok, past = QDataStream::ReadPastEnd;
    QTest::newRow("invalid keeps its bytes") << QByteArray::fromHex("000102030405060708090a0b0c0d0e0f10") << ok
                                             << IPv6Address();
    QTest::newRow("high bits survive as signed bytes")
        << QByteArray::fromHex("01fe800000000000000000000000ff8001") << ok << P("fe80::ff:8001");
    QTest::newRow("one byte short") << QByteArray::fromHex("01000000000000000000000000000001") << past << IPv6Address();
    QTest::newRow("flag 2 is corrupt") << QByteArray::fromHex("0200000000000000000000000000000001")
                                       << int(QDataStream::ReadCorruptData) << IPv6Address();
}

void TstIPv6Address::stream()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(IPv6Address, address);
    QDataStream in(bytes);
    IPv6Address read = P("1::1");
    in >> read;
    QCOMPARE(int(in.status()), status);
    QCOMPARE(read, address);
    QByteArray written;
    QDataStream out(&written, QIODevice::WriteOnly);
    out << read;
    QCOMPARE(written, status == QDataStream::Ok ? bytes : QByteArray(17, '\0'));
}

QTEST_APPLESS_MAIN(TstIPv6Address)
#include "tst_ipv6address.moc"
