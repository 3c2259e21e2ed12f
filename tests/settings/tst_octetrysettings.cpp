#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <array>
#include <memory>

#include "common/exceptionmessage.h"
#include "common/testenvironment.h"
#include "settings/octetrysettings.h"

namespace {

QString ConfPath() { return QSettings().fileName(); }

void RemoveConf()
{
    const QFileInfo info(ConfPath());
    if (info.isDir())
        QDir(info.filePath()).removeRecursively();
    else
        QFile::remove(info.filePath());
}

void WriteConf(const QByteArray& content)
{
    RemoveConf();
    QDir().mkpath(QFileInfo(ConfPath()).path());
    QFile file(ConfPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The serialised QVariant as the INI file holds it: the user-type marker 127,
// the type name with its terminating zero, then the type's own stream layout.
QByteArray VariantBytes(const QByteArray& typeName, const QByteArray& payloadHex)
{
    QByteArray bytes = QByteArray::fromHex("0000007f");
    const quint32 length = quint32(typeName.size() + 1);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += char((length >> shift) & 0xff);
    return bytes + typeName + '\0' + QByteArray::fromHex(payloadHex);
}

QByteArray Wrapped(const QByteArray& bytes) { return "@Variant(" + bytes + ')'; }

QByteArray VariantText(const QByteArray& bytes)
{
    QByteArray text;
    for (char byte : bytes)
        text += "\\x" + QByteArray::number(quint8(byte), 16);
    return Wrapped(text);
}

QByteArray Stored(const char* key, const QByteArray& typeName, const QByteArray& payloadHex)
{
    return QByteArray(key) + '=' + VariantText(VariantBytes(typeName, payloadHex)) + '\n';
}

// The INI escapes that the toolkit writes, undone.
QByteArray Unescape(const QByteArray& text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char kind = text[++i];
        if (kind == 'x') {
            int value = 0;
            while (i + 1 < text.size() && QByteArray("0123456789abcdefABCDEF").contains(text[i + 1]))
                value = value * 16 + QByteArray(1, text[++i]).toInt(nullptr, 16);
            bytes += char(value);
        } else {
            const QByteArray from = "0abfnrtv";
            const QByteArray to("\0\a\b\f\n\r\t\v", 8);
            const qsizetype at = from.indexOf(kind);
            bytes += at >= 0 ? to[at] : kind;
        }
    }
    return bytes;
}

// The value text of key as the file holds it, or a null array.
QByteArray RawValue(const QByteArray& key)
{
    QFile file(ConfPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return {};
}

QStringList Keys()
{
    QStringList keys;
    for (int nSetting = 0; nSetting < OctetrySettings::SettingCount; ++nSetting)
        keys << OctetrySettings::GetKey(nSetting);
    keys.sort();
    return keys;
}

} // namespace

class TstOctetrySettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void keysAndRange();
    void storedLayout_data();
    void storedLayout();
    void changeWritesAllEightKeys();
    void missingValuesAreCompleted();
    void showOctalConversionsIsReadOnly();
    void badStoredValueGivesTheDefault_data();
    void badStoredValueGivesTheDefault();
    void badFileGivesAllDefaults_data();
    void badFileGivesAllDefaults();

private:
    // The values a store over an empty file holds, the reference for "default".
    std::array<QVariant, OctetrySettings::SettingCount> m_defaults;
};

void TstOctetrySettings::initTestCase()
{
    QVERIFY(ConfPath().endsWith(QLatin1String("/Quorvane/Octetry.conf")));
    RemoveConf();
    OctetrySettings store;
    for (int nSetting = 0; nSetting < OctetrySettings::SettingCount; ++nSetting)
        m_defaults[std::size_t(nSetting)] = store.GetValue(nSetting);
}

void TstOctetrySettings::init()
{
    RemoveConf();
}

void TstOctetrySettings::keysAndRange()
{
    QCOMPARE(Keys(), QStringList({"AllowOneHostBit", "AllowOneSubnetBit", "CidrAddressBlock", "CidrPolicy",
                                  "IPv4Address", "IPv6Address", "SubnetPolicy", "TabIndex"}));
    OctetrySettings store;
    QCOMPARE(ThrownMessage<std::out_of_range>([] { OctetrySettings::GetKey(8); }), QString("nSetting"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { store.GetValue(8); }), QString("nSetting"));
    QCOMPARE(ThrownMessage<std::out_of_range>([&] { store.SetValue(-1, 0); }), QString("nSetting"));
}

void TstOctetrySettings::storedLayout_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("TabIndex as a number") << QByteArray("TabIndex") << QByteArray("3");
    QTest::newRow("AllowOneSubnetBit as a bool") << QByteArray("AllowOneSubnetBit") << QByteArray("false");
    QTest::newRow("AllowOneHostBit as a bool") << QByteArray("AllowOneHostBit") << QByteArray("true");
    QTest::newRow("IPv4Address: flag, value")
        << QByteArray("IPv4Address") << Wrapped(VariantBytes("IPv4Address", "01c0a80107"));
    QTest::newRow("SubnetPolicy: class, bits, two options")
        << QByteArray("SubnetPolicy") << Wrapped(VariantBytes("IPv4SubnetPolicy", "00000006000000030100"));
    QTest::newRow("CidrAddressBlock: prefix")
        << QByteArray("CidrAddressBlock") << Wrapped(VariantBytes("IPv4AddressBlock", "00000010"));
    QTest::newRow("CidrPolicy: block, bits")
        << QByteArray("CidrPolicy") << Wrapped(VariantBytes("IPv4CidrPolicy", "0000001000000004"));
    QTest::newRow("IPv6Address: flag, sixteen bytes")
        << QByteArray("IPv6Address") << Wrapped(VariantBytes("IPv6Address", "0120010db8000000000000000000000001"));
}

void TstOctetrySettings::storedLayout()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, bytes);
    OctetrySettings store;
    store.SetTabIndex(3);
    store.SetAllowOneSubnetBit(false);
    store.SetAllowOneHostBit(true);
    store.SetIPv4Address(IPv4Address(0xc0a80107));
    store.SetSubnetPolicy(IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassC), 3, true, false));
    store.SetCidrAddressBlock(IPv4AddressBlock(16));
    store.SetCidrPolicy(IPv4CidrPolicy(IPv4AddressBlock(16), 4));
    store.SetIPv6Address(IPv6Address(std::string("2001:db8::1")));
    store.Save();
    QCOMPARE(Unescape(RawValue(key)), bytes);
    // What was written reads back as the same value.
    const OctetrySettings reread;
    for (int nSetting = 0; nSetting < OctetrySettings::SettingCount; ++nSetting)
        QCOMPARE(reread.GetValue(nSetting), store.GetValue(nSetting));
}

void TstOctetrySettings::changeWritesAllEightKeys()
{
    OctetrySettings store;
    QVERIFY(!QFile::exists(ConfPath()));
    QSignalSpy spy(&store, &OctetrySettings::SettingChanged);
    int seenTab = -1;
    connect(&store, &OctetrySettings::SettingChanged, this, [&] { seenTab = store.GetTabIndex(); });

    store.SetTabIndex(4);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<OctetrySettings::Setting>(), OctetrySettings::TabIndexSetting);
    QCOMPARE(seenTab, 4);
    QVERIFY(store.IsSavePending());
    QTRY_VERIFY(!store.IsSavePending());
    QCOMPARE(QSettings().childKeys() + QSettings().childGroups(), Keys());
    QCOMPARE(QSettings().value("TabIndex").toInt(), 4);

    // The held value again: nothing emitted, nothing written.
    QFile::remove(ConfPath());
    store.SetTabIndex(4);
    store.SetIPv4Address(store.GetIPv4Address());
    store.SetValue(OctetrySettings::CidrPolicySetting, store.GetValue(OctetrySettings::CidrPolicySetting));
    QCOMPARE(spy.count(), 1);
    QVERIFY(!store.IsSavePending());
    QVERIFY(!QFile::exists(ConfPath()));

    // A burst of changes is written once, with the last values.
    store.SetAllowOneHostBit(false);
    store.SetTabIndex(1);
    QCOMPARE(spy.count(), 3);
    QTRY_VERIFY(!store.IsSavePending());
    QCOMPARE(RawValue("TabIndex"), QByteArray("1"));
    QCOMPARE(RawValue("AllowOneHostBit"), QByteArray("false"));
}

void TstOctetrySettings::missingValuesAreCompleted()
{
    OctetrySettings store;
    QCOMPARE(store.GetTabIndex(), 0);
    QVERIFY(store.GetAllowOneSubnetBit());
    QVERIFY(store.GetAllowOneHostBit());
    QVERIFY(store.GetIPv4Address().IsValid());
    QVERIFY(store.GetIPv6Address().IsValid());
    const auto policies = IPv4SubnetPolicy::GetPolicies(IPv4AddressClass::FromAddress(store.GetIPv4Address()), true, true);
    QCOMPARE(store.GetSubnetPolicy(), policies.empty() ? IPv4SubnetPolicy() : policies.front());
    QCOMPARE(store.GetCidrAddressBlock(), IPv4AddressBlock(1));
    QCOMPARE(store.GetCidrPolicy(), IPv4CidrPolicy(IPv4AddressBlock(1), 1));
    QVERIFY(!store.GetShowOctalConversions());
    QVERIFY(!store.IsSavePending());
    QVERIFY(!QFile::exists(ConfPath()));

    // Policies follow a stored address of another class.
    WriteConf("[General]\n" + Stored("IPv4Address", "IPv4Address", "010a000001") + "AllowOneSubnetBit=false\n");
    OctetrySettings classA;
    QCOMPARE(classA.GetSubnetPolicy(), IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassA), 2, false, true));
}

void TstOctetrySettings::showOctalConversionsIsReadOnly()
{
    WriteConf("[General]\nShowOctalConversions=1\n");
    OctetrySettings store;
    QVERIFY(store.GetShowOctalConversions());
    store.SetTabIndex(2);
    store.Save();
    QCOMPARE(RawValue("ShowOctalConversions"), QByteArray("1"));

    RemoveConf();
    OctetrySettings off;
    off.SetTabIndex(2);
    off.Save();
    QVERIFY(RawValue("ShowOctalConversions").isNull());
}

void TstOctetrySettings::badStoredValueGivesTheDefault_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QByteArray>("content");
    // Invalid: the stored neighbours leave nothing to complete from. Otherwise the default.
    QTest::addColumn<QVariant>("expected");
    const QVariant byDefault;
    const QByteArray loopback = Stored("IPv4Address", "IPv4Address", "017f000001");
    const QByteArray block32 = Stored("CidrAddressBlock", "IPv4AddressBlock", "00000020");

    QTest::newRow("TabIndex not a number") << 0 << QByteArray("TabIndex=abc\n") << QVariant(0);
    QTest::newRow("TabIndex of a user type")
        << 0 << Stored("TabIndex", "IPv4AddressBlock", "00000010") << QVariant(0);
    QTest::newRow("TabIndex empty") << 0 << QByteArray("TabIndex=\n") << QVariant(0);
    QTest::newRow("AllowOneSubnetBit not a bool") << 1 << QByteArray("AllowOneSubnetBit=maybe\n") << QVariant(false);
    QTest::newRow("AllowOneHostBit of a user type")
        << 2 << Stored("AllowOneHostBit", "IPv4Address", "01c0a80107") << QVariant(false);
    QTest::newRow("IPv4Address as plain text") << 3 << QByteArray("IPv4Address=10.0.0.1\n") << byDefault;
    QTest::newRow("IPv4Address of another user type")
        << 3 << Stored("IPv4Address", "IPv4AddressBlock", "00000010") << byDefault;
    QTest::newRow("IPv4Address truncated") << 3 << Stored("IPv4Address", "IPv4Address", "01c0a8") << byDefault;
    QTest::newRow("IPv4Address flag 7") << 3 << Stored("IPv4Address", "IPv4Address", "07c0a80107") << byDefault;
    QTest::newRow("IPv4Address of an unknown type")
        << 3 << Stored("IPv4Address", "NoSuchType", "01c0a80107") << byDefault;
    QTest::newRow("IPv4Address with a garbled header")
        << 3 << QByteArray("IPv4Address=") + VariantText(QByteArray::fromHex("0000007fffffffff41")) + '\n' << byDefault;
    QTest::newRow("IPv4Address without closing parenthesis")
        << 3 << QByteArray("IPv4Address=@Variant(\\0\\0\\0\\x7f\n") << byDefault;
    QTest::newRow("SubnetPolicy of class C with 200 subnet bits")
        << 4 << Stored("SubnetPolicy", "IPv4SubnetPolicy", "00000006000000c80101") << byDefault;
    QTest::newRow("SubnetPolicy with 200 bits beside a loopback address")
        << 4 << loopback + Stored("SubnetPolicy", "IPv4SubnetPolicy", "00000006000000c80101")
        << QVariant::fromValue(IPv4SubnetPolicy());
    QTest::newRow("SubnetPolicy of class C with 8 bits")
        << 4 << Stored("SubnetPolicy", "IPv4SubnetPolicy", "00000006000000080101") << byDefault;
    QTest::newRow("SubnetPolicy of class C with 7 bits but no one-host-bit option")
        << 4 << Stored("SubnetPolicy", "IPv4SubnetPolicy", "00000006000000070100") << byDefault;
    QTest::newRow("SubnetPolicy of class B with 0 bits")
        << 4 << Stored("SubnetPolicy", "IPv4SubnetPolicy", "00000005000000000101") << byDefault;
    QTest::newRow("SubnetPolicy of class ID 10")
        << 4 << Stored("SubnetPolicy", "IPv4SubnetPolicy", "0000000a000000020101") << byDefault;
    QTest::newRow("SubnetPolicy of class ID -1")
        << 4 << Stored("SubnetPolicy", "IPv4SubnetPolicy", "ffffffff000000020101") << byDefault;
    QTest::newRow("SubnetPolicy truncated")
        << 4 << Stored("SubnetPolicy", "IPv4SubnetPolicy", "000000060000") << byDefault;
    QTest::newRow("CidrAddressBlock /33")
        << 5 << Stored("CidrAddressBlock", "IPv4AddressBlock", "00000021") << byDefault;
    QTest::newRow("CidrAddressBlock empty payload")
        << 5 << Stored("CidrAddressBlock", "IPv4AddressBlock", "") << byDefault;
    QTest::newRow("CidrPolicy /16 with 20 bits")
        << 6 << Stored("CidrPolicy", "IPv4CidrPolicy", "0000001000000014") << byDefault;
    QTest::newRow("CidrPolicy /16 with 20 bits beside a block /32")
        << 6 << block32 + Stored("CidrPolicy", "IPv4CidrPolicy", "0000001000000014")
        << QVariant::fromValue(IPv4CidrPolicy());
    QTest::newRow("CidrPolicy truncated") << 6 << Stored("CidrPolicy", "IPv4CidrPolicy", "00000010000000") << byDefault;
    QTest::newRow("IPv6Address truncated") << 7 << Stored("IPv6Address", "IPv6Address", "012001") << byDefault;
    QTest::newRow("IPv6Address flag 2")
        << 7 << Stored("IPv6Address", "IPv6Address", "0220010db8000000000000000000000001") << byDefault;
}

void TstOctetrySettings::badStoredValueGivesTheDefault()
{
    QFETCH(int, setting);
    QFETCH(QByteArray, content);
    QFETCH(QVariant, expected);
    WriteConf("[General]\n" + content);
    OctetrySettings store;
    QCOMPARE(store.GetValue(setting), expected.isValid() ? expected : m_defaults[std::size_t(setting)]);
}

void TstOctetrySettings::badFileGivesAllDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("directory");
    QByteArray binary;
    for (int i = 0; i < 512; ++i)
        binary += char((i * 37 + 11) % 256);
    QTest::newRow("binary garbage") << binary << false;
    QTest::newRow("lines without keys") << QByteArray("[General\n=\n==@Variant(\n\\\n[]\n") << false;
    QTest::newRow("a folder in place of the file") << QByteArray() << true;
}

void TstOctetrySettings::badFileGivesAllDefaults()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, directory);
    if (directory) {
        RemoveConf();
        QVERIFY(QDir().mkpath(ConfPath()));
    } else {
        WriteConf(content);
    }
    OctetrySettings store;
    for (int nSetting = 0; nSetting < OctetrySettings::SettingCount; ++nSetting)
        QCOMPARE(store.GetValue(nSetting), m_defaults[std::size_t(nSetting)]);
    store.SetTabIndex(5);
    store.Save();
    QCOMPARE(store.GetTabIndex(), 5);
}

int main(int argc, char** argv)
{
    TestEnvironment env;
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Octetry"));
    TstOctetrySettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_octetrysettings.moc"
