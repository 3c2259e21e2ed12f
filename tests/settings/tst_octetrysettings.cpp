// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/interfaceaddresses.h"
#include "app/brandingutil.h"
#include "common/datarows.h"
#include "common/testenvironment.h"
#include "settings/octetrysettings.h"

#include <QtTest>

#include <stdexcept>

namespace {

// Before any application object: keeps the user's own settings out of reach.
const TestEnvironment env;
// In place of the machine's interface addresses, which a test never reads.
const OctetrySettings::FallbackAddresses kFallback{IPv4Address(0xc0000201), IPv6Address(std::string("2001:db8::2"))};

const auto ConfPath = [] { return QSettings().fileName(); };

const auto Of = [](const auto& value) { return QVariant::fromValue(value); };

// A user-type value as the file holds it: marker 127, the type name with its zero, its stream layout, all escaped.
QByteArray Stored(const char* key, const char* typeName, const char* payloadHex)
{
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly) << static_cast<quint32>(127) << typeName;
    return key + ("=@Variant(\\x" + (bytes + QByteArray::fromHex(payloadHex)).toHex(' ').replace(" ", "\\x")) + ")\n";
}

} // namespace

class TstOctetrySettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { BrandingUtil::SetApplicationIdentity(); }
    void init() { QFile::remove(ConfPath()); }

    void roundTripKeepsTypes()
    {
        QSettings().setValue("ShowOctalConversions", 1);
        OctetrySettings store(kFallback);
        QVERIFY(store.GetShowOctalConversions());
        // clang-format off
        const QVariantList values = {3, false, false, Of(IPv4Address(0xc0a80107)),
            Of(IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassC), 3, true, false)), Of(IPv4AddressBlock(16)),
            Of(IPv4CidrPolicy(IPv4AddressBlock(16), 4)), Of(IPv6Address(std::string("2001:db8::1"))), 40, 56,
            QByteArray("\x01\xd9\xd0\xcb", 4), QString("10/8\n::/0 # all"), QString("b"), 3, 24, 64};
        // clang-format on
        for (int n = 0; n < OctetrySettings::SettingCount; ++n)
            store.SetValue(n, values[n]);
        store.Save();

        // Existing files use these keys, and keep the read-only one.
        const QSettings file;
        QCOMPARE(file.childKeys(),
                 QStringList({"AllowOneHostBit", "AllowOneSubnetBit", "CidrAddressBlock", "CidrPolicy", "IPv4Address",
                              "IPv6Address", "IPv6PrefixLength", "IPv6SubnetLength", "ListA", "ListB", "ListOperation",
                              "ListSplitIPv4Length", "ListSplitIPv6Length", "ShowOctalConversions", "SubnetPolicy",
                              "TabIndex", "WindowGeometry"}));
        const OctetrySettings reread(kFallback);
        for (int n = 0; n < OctetrySettings::SettingCount; ++n) {
            QCOMPARE(reread.GetValue(n), values[n]);
            if (n >= OctetrySettings::IPv4AddressSetting)
                QCOMPARE(file.value(OctetrySettings::GetKey(n)).metaType(), values[n].metaType());
        }
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, OctetrySettings::GetKey(OctetrySettings::SettingCount));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, reread.GetValue(-1));
    }

    void missingValuesCompletedThenBurstWritten()
    {
        OctetrySettings store(kFallback);
        QVERIFY(store.GetIPv4Address() == kFallback.ipv4 && store.GetIPv6Address() == kFallback.ipv6);
        QCOMPARE(store.GetCidrPolicy(), IPv4CidrPolicy(IPv4AddressBlock(1), 1));
        QSignalSpy spy(&store, &OctetrySettings::SettingChanged);
        // Loading, completing and setting the held value are no change: nothing announced, nothing written.
        store.SetTabIndex(0);
        store.SetValue(OctetrySettings::CidrPolicySetting, store.GetValue(OctetrySettings::CidrPolicySetting));
        QVERIFY(spy.isEmpty() && !store.IsSavePending() && !QFile::exists(ConfPath()));
        // A burst is announced at once and written soon after, with the last value of each setting.
        store.SetAllowOneHostBit(false);
        for (int tab = 1; tab <= 4; ++tab)
            store.SetTabIndex(tab);
        QCOMPARE(spy.count(), 5);
        QTRY_VERIFY(!store.IsSavePending());
        const QByteArray written = ReadAll(ConfPath());
        QVERIFY2(written.contains("TabIndex=4\n") && written.contains("AllowOneHostBit=false\n"), written);
        QVERIFY(!written.contains("ShowOctalConversions"));
        // And so is every later change.
        store.SetTabIndex(1);
        QTRY_VERIFY(ReadAll(ConfPath()).contains("TabIndex=1\n"));
    }

    void fallbackIsTheFirstInterfaceAddress()
    {
        using Host = QHostAddress;
        const QList<Host> special = {Host::Null,          Host::Broadcast, Host::LocalHost,
                                     Host::LocalHostIPv6, Host::AnyIPv4,   Host::AnyIPv6};
        const auto none = OctetrySettings::FallbackAddresses::Of(InterfaceAddresses(special));
        QVERIFY(none.ipv4 == IPv4Address(0xac100001) && none.ipv6 == IPv6Address(std::string("::1")));
        // Only those exact addresses are left out; the rest keep their order, duplicates too.
        const InterfaceAddresses some(
            special + QList<Host>{Host("fe80::1"), Host("127.0.1.1"), Host("10.0.0.2"), Host("127.0.1.1")});
        QVERIFY(some.GetIPv4()
                == std::vector({IPv4Address(0x7f000101), IPv4Address(0x0a000002), IPv4Address(0x7f000101)}));
        QCOMPARE(OctetrySettings::FallbackAddresses::Of(some).ipv6, IPv6Address(std::string("fe80::1")));
    }

    void prefixLengthAnnouncedOnceWithItsSubnets()
    {
        OctetrySettings store(kFallback);
        QList<QList<int>> heard; // the setting announced, the prefix length, the subnet length
        connect(&store, &OctetrySettings::SettingChanged, this, [&](int setting) {
            heard += QList<int>({setting, store.GetIPv6PrefixLength(), store.GetIPv6SubnetLength()});
        });
        // A longer prefix lengthens the /64 subnets first: one announcement, which the subnets' page heeds.
        store.SetIPv6PrefixLength(72);
        store.SetIPv6PrefixLength(40);
        const int prefix = OctetrySettings::IPv6PrefixLengthSetting;
        QCOMPARE(heard, QList<QList<int>>({{prefix, 72, 72}, {prefix, 40, 72}}));
    }

    // aboutToQuit, as after File > Exit or a quit signal, writes what is pending at once.
    void writtenAtOnceOnQuit()
    {
        OctetrySettings store(kFallback);
        store.SetTabIndex(5);
        // exec() announces aboutToQuit once its loop has ended.
        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        QVERIFY(ReadAll(ConfPath()).contains("TabIndex=5\n"));
    }

    void storedValueIsChecked_data()
    {
        // expected: an invalid value stands for what a store over no file holds
        AddColumns<OctetrySettings::Setting, QByteArray, QVariant>("setting", "content", "expected");
        const QByteArray policy200Bits = Stored("SubnetPolicy", "IPv4SubnetPolicy", "00000006000000c80101");
        const QByteArray cidr20Bits = Stored("CidrPolicy", "IPv4CidrPolicy", "0000001000000014");
        using S = OctetrySettings;
        // clang-format off
        QTest::newRow("TabIndex abc reads 0") << S::TabIndexSetting << QByteArray("TabIndex=abc\n") << QVariant(0);
        QTest::newRow("AllowOneHostBit 0 reads false") << S::AllowOneHostBitSetting << QByteArray("AllowOneHostBit=0\n") << QVariant(false);
        QTest::newRow("SubnetPolicy completed for class A without one subnet bit") << S::SubnetPolicySetting << Stored("IPv4Address", "IPv4Address", "010a000001") + "AllowOneSubnetBit=false\n" << Of(IPv4SubnetPolicy(IPv4AddressClass(IPv4AddressClass::ClassA), 2, false, true));
        QTest::newRow("SubnetPolicy of 200 bits on class C is refused") << S::SubnetPolicySetting << policy200Bits << QVariant();
        QTest::newRow("SubnetPolicy beside loopback: none fits") << S::SubnetPolicySetting << Stored("IPv4Address", "IPv4Address", "017f000001") + policy200Bits << Of(IPv4SubnetPolicy());
        QTest::newRow("address block /33 is refused") << S::CidrAddressBlockSetting << Stored("CidrAddressBlock", "IPv4AddressBlock", "00000021") << QVariant();
        QTest::newRow("CidrPolicy of 20 bits on /16 is refused") << S::CidrPolicySetting << cidr20Bits << QVariant();
        QTest::newRow("IPv6PrefixLength missing, as in older files: /48") << S::IPv6PrefixLengthSetting << QByteArray() << QVariant(48);
        QTest::newRow("IPv6PrefixLength /129 is refused") << S::IPv6PrefixLengthSetting << QByteArray("IPv6PrefixLength=129\n") << QVariant(48);
        QTest::newRow("IPv6SubnetLength /40 below the /48 prefix is refused") << S::IPv6SubnetLengthSetting << QByteArray("IPv6SubnetLength=40\n") << QVariant(64);
        QTest::newRow("IPv6PrefixLength /72 lengthens the /64 subnets") << S::IPv6SubnetLengthSetting << QByteArray("IPv6PrefixLength=72\n") << QVariant(72);
        QTest::newRow("ListOperation 7, past the last, is refused") << S::ListOperationSetting << QByteArray("ListOperation=7\n") << QVariant(0);
        QTest::newRow("ListSplitIPv4Length /33 is refused") << S::ListSplitIPv4Setting << QByteArray("ListSplitIPv4Length=33\n") << QVariant(-1);
        QTest::newRow("ListSplitIPv6Length /128 is kept") << S::ListSplitIPv6Setting << QByteArray("ListSplitIPv6Length=128\n") << QVariant(128);
        QTest::newRow("CidrPolicy beside /32: none fits") << S::CidrPolicySetting << Stored("CidrAddressBlock", "IPv4AddressBlock", "00000020") + cidr20Bits << Of(IPv4CidrPolicy());
        // clang-format on
    }

    void storedValueIsChecked()
    {
        QFETCH(OctetrySettings::Setting, setting);
        QFETCH(QByteArray, content);
        QFETCH(QVariant, expected);
        QVERIFY(WriteAll(ConfPath(), "[General]\n" + content));
        const QVariant value = OctetrySettings(kFallback).GetValue(setting);
        QFile::remove(ConfPath());
        QCOMPARE(value, expected.isValid() ? expected : OctetrySettings(kFallback).GetValue(setting));
    }
};

QTEST_GUILESS_MAIN(TstOctetrySettings)

#include "tst_octetrysettings.moc"
