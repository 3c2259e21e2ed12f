#include "address/exceptionutil.h"
#include "address/ipv4address.h"
#include "common/exceptionmessage.h"

#include <QBuffer>
#include <QDataStream>
#include <QRandomGenerator>
#include <QTest>
#include <QVariant>

#include <stdexcept>

Q_DECLARE_METATYPE(IPv4Address::Notation)

namespace {

const struct
{
    const char* name;
    IPv4Address::Notation notation;
} kNotations[] = {
    {"dotted decimal", IPv4Address::DottedDecimal},
    {"decimal", IPv4Address::Decimal},
    {"dotted hexadecimal", IPv4Address::DottedHexadecimal},
    {"hexadecimal", IPv4Address::Hexadecimal},
    {"dotted octal", IPv4Address::DottedOctal},
    {"octal", IPv4Address::Octal},
    {"dotted binary", IPv4Address::DottedBinary},
    {"binary", IPv4Address::Binary},
};

QByteArray Streamed(const IPv4Address& address)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << address;
    return bytes;
}

} // namespace

class TstIPv4Address : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void parse_data();
    void parse();
    void roundTrip_data();
    void roundTrip();
    void invalidAddress();
    void masksAndBytes();
    void ordering();
    void streamLayout();
    void streamRefusesShortInput();
    void variantRoundTrip();
};

void TstIPv4Address::format_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<IPv4Address::Notation>("notation");
    QTest::addColumn<QString>("text");

    const char* texts172[] = {"172.16.0.1", "2886729729", "ac.10.00.01", "0xac100001", "254.020.000.001",
                              "025404000001", "10101100.00010000.00000000.00000001",
                              "10101100000100000000000000000001"};
    const char* textsZero[] = {"0.0.0.0", "0", "00.00.00.00", "0", "000.000.000.000", "0",
                               "00000000.00000000.00000000.00000000", "00000000000000000000000000000000"};
    const char* textsAllOnes[] = {"255.255.255.255", "4294967295", "ff.ff.ff.ff", "0xffffffff",
                                  "377.377.377.377", "037777777777", "11111111.11111111.11111111.11111111",
                                  "11111111111111111111111111111111"};
    for (int i = 0; i < 8; ++i) {
        QTest::addRow("172.16.0.1 in %s", kNotations[i].name) << 0xac100001u << kNotations[i].notation << texts172[i];
        QTest::addRow("0.0.0.0 in %s", kNotations[i].name) << 0u << kNotations[i].notation << textsZero[i];
        QTest::addRow("255.255.255.255 in %s", kNotations[i].name)
            << 0xffffffffu << kNotations[i].notation << textsAllOnes[i];
    }
    QTest::newRow("0.0.0.1 in hexadecimal") << 1u << IPv4Address::Hexadecimal << "0x1";
    QTest::newRow("0.0.0.1 in octal") << 1u << IPv4Address::Octal << "01";
}

void TstIPv4Address::format()
{
    QFETCH(quint32, value);
    QFETCH(IPv4Address::Notation, notation);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(IPv4Address(value).ToString(notation)), text);
}

void TstIPv4Address::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<IPv4Address::Notation>("notation");
    QTest::addColumn<QString>("expected"); // dotted decimal, or empty when refused

    const auto dd = IPv4Address::DottedDecimal;
    QTest::newRow("1.2.3.4") << "1.2.3.4" << dd << "1.2.3.4";
    QTest::newRow("blanks around") << " 1.2.3.4 " << dd << "1.2.3.4";
    QTest::newRow("dot after fourth part") << "1.2.3.4." << dd << "1.2.3.4";
    QTest::newRow("10 is 10.0.0.0") << "10" << dd << "10.0.0.0";
    QTest::newRow("192.168 is 192.168.0.0") << "192.168" << dd << "192.168.0.0";
    QTest::newRow("10. is 10.0.0.0") << "10." << dd << "10.0.0.0";
    QTest::newRow("five parts refused") << "1.2.3.4.5" << dd << "";
    QTest::newRow("empty part refused") << "1..2" << dd << "";
    QTest::newRow("256 refused") << "256.0.0.0" << dd << "";
    QTest::newRow("negative part refused") << "-1.0.0.0" << dd << "";
    QTest::newRow("trailing letter refused") << "1.2.3.4x" << dd << "";
    QTest::newRow("empty dotted refused") << "" << dd << "";
    QTest::newRow("empty binary refused") << "" << IPv4Address::Binary << "";
    QTest::newRow("dotted binary parts") << "1.10.11.0" << IPv4Address::DottedBinary << "1.2.3.0";
    QTest::newRow("nine binary digits refused") << "111111111.0.0.0" << IPv4Address::DottedBinary << "";
    QTest::newRow("binary 101") << "101" << IPv4Address::Binary << "0.0.0.5";
    QTest::newRow("33 binary digits refused") << QString(33, '1') << IPv4Address::Binary << "";
    QTest::newRow("decimal beyond 32 bits refused") << "4294967296" << IPv4Address::Decimal << "";
    QTest::newRow("decimal all ones") << "4294967295" << IPv4Address::Decimal << "255.255.255.255";
    QTest::newRow("negative decimal wraps") << "-1" << IPv4Address::Decimal << "255.255.255.255";
    QTest::newRow("octal digit 8 refused") << "8" << IPv4Address::Octal << "";
    QTest::newRow("upper-case hex with 0X") << "0XAC100001" << IPv4Address::Hexadecimal << "172.16.0.1";
    QTest::newRow("hex without prefix") << "c0a80001" << IPv4Address::Hexadecimal << "192.168.0.1";
    QTest::newRow("bare 0x refused") << "0x" << IPv4Address::Hexadecimal << "";
    QTest::newRow("dotted hex 10") << "10" << IPv4Address::DottedHexadecimal << "16.0.0.0";
    QTest::newRow("dotted hex upper case") << "C0.A8.0.1" << IPv4Address::DottedHexadecimal << "192.168.0.1";
    QTest::newRow("dotted octal 377") << "377.0.0.1" << IPv4Address::DottedOctal << "255.0.0.1";
    QTest::newRow("dotted octal 400 refused") << "400.0.0.0" << IPv4Address::DottedOctal << "";
}

void TstIPv4Address::parse()
{
    QFETCH(QString, text);
    QFETCH(IPv4Address::Notation, notation);
    QFETCH(QString, expected);
    IPv4Address address(0x01020304u);
    const bool accepted = address.Parse(text.toStdString(), notation);
    QCOMPARE(accepted, !expected.isEmpty());
    QCOMPARE(address.IsValid(), accepted);
    QCOMPARE(QString::fromStdString(address.ToString(IPv4Address::DottedDecimal)), expected);
    QCOMPARE(IPv4Address(text.toStdString(), notation), address);
}

void TstIPv4Address::roundTrip_data()
{
    QTest::addColumn<quint32>("value");
    QTest::newRow("0.0.0.0") << 0u;
    QTest::newRow("0.0.0.1") << 1u;
    QTest::newRow("255.255.255.255") << 0xffffffffu;
    QTest::newRow("128.0.0.0") << 0x80000000u;
    QRandomGenerator random(20261206);
    for (int i = 0; i < 64; ++i) {
        const quint32 value = random.generate();
        QTest::addRow("random %s", IPv4Address(value).ToString(IPv4Address::DottedDecimal).c_str()) << value;
    }
}

void TstIPv4Address::roundTrip()
{
    QFETCH(quint32, value);
    for (const auto& n : kNotations) {
        const std::string text = IPv4Address(value).ToString(n.notation);
        IPv4Address parsed;
        QVERIFY2(parsed.Parse(text, n.notation), n.name);
        QCOMPARE(parsed.GetValue(), value);
    }
}

void TstIPv4Address::invalidAddress()
{
    const IPv4Address invalid;
    QVERIFY(!invalid.IsValid());
    for (const auto& n : kNotations)
        QVERIFY(invalid.ToString(n.notation).empty());
    QVERIFY(invalid.ToString({7, true}).empty()); // the notation is not even looked at
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { invalid.GetValue(); }), QString("this"));
    IPv4Address writable;
    QCOMPARE(ThrownMessage<ExceptionUtil::invalid_operation>([&] { writable.GetByte(0); }), QString("this"));
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4Address(1u).ToString({7, false}); }), QString("nNotation"));
    IPv4Address parsed;
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { parsed.Parse("1", {3, true}); }), QString("nNotation"));
    QVERIFY(!parsed.Parse("", {3, true})); // empty text is refused before the radix is checked
}

void TstIPv4Address::masksAndBytes()
{
    QCOMPARE(IPv4Address::CreateMask(0), IPv4Address(0u));
    QVERIFY(IPv4Address::CreateMask(0).IsValid());
    QCOMPARE(IPv4Address::CreateMask(24).GetValue(), 0xffffff00u);
    QCOMPARE(IPv4Address::CreateMask(1).GetValue(), 0x80000000u);
    QCOMPARE(IPv4Address::CreateMask(32).GetValue(), 0xffffffffu);
    QCOMPARE(ThrownMessage<std::out_of_range>([] { IPv4Address::CreateMask(33); }), QString("nMaskBits"));

    IPv4Address address(0xac100001u);
    QCOMPARE(address.GetByte(0), quint8(172));
    QCOMPARE(address.GetByte(3), quint8(1));
    address.GetByte(2) = 99;
    QCOMPARE(QString::fromStdString(address.ToString(IPv4Address::DottedDecimal)), QString("172.16.99.1"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { address.GetByte(4); }), QString("nByteIndex"));
}

void TstIPv4Address::ordering()
{
    const IPv4Address invalid, zero(0u), high(0x80000000u), low(0x7fffffffu);
    QVERIFY(invalid == IPv4Address());
    QVERIFY(invalid < zero);
    QVERIFY(invalid <= zero && !(invalid >= zero));
    QVERIFY(low < high); // unsigned, not signed, comparison
    QVERIFY(high >= low && high != low);
    QVERIFY(zero <= zero && zero >= zero);
}

void TstIPv4Address::streamLayout()
{
    QCOMPARE(Streamed(IPv4Address(0x0a000001u)), QByteArray::fromHex("010a000001"));
    QCOMPARE(Streamed(IPv4Address()), QByteArray::fromHex("0000000000"));
    QCOMPARE(Streamed(IPv4Address(0xffffffffu)), QByteArray::fromHex("01ffffffff"));

    QByteArray bytes = QByteArray::fromHex("01ac100001");
    QDataStream in(bytes);
    IPv4Address read;
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(read, IPv4Address(0xac100001u));
}

void TstIPv4Address::streamRefusesShortInput()
{
    for (const char* hex : {"", "01", "010a0000"}) {
        QByteArray bytes = QByteArray::fromHex(hex);
        QDataStream in(bytes);
        IPv4Address read(5u);
        in >> read;
        QVERIFY2(in.status() != QDataStream::Ok, hex);
        QVERIFY2(!read.IsValid(), hex);
    }
}

void TstIPv4Address::variantRoundTrip()
{
    IPv4Address::RegisterMetaType();
    QCOMPARE(QMetaType::fromName("IPv4Address"), QMetaType::fromType<IPv4Address>());
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << QVariant::fromValue(IPv4Address(0xc0a80001u));
    }
    QDataStream in(bytes);
    QVariant read;
    in >> read;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(read.value<IPv4Address>(), IPv4Address(0xc0a80001u));
}

QTEST_APPLESS_MAIN(TstIPv4Address)
#include "tst_ipv4address.moc"
