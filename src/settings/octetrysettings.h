// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv4address.h"
#include "address/ipv6address.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

class InterfaceAddresses;
class SettingsWriter;

// The program's options and last-used values: every change is announced at
// once with SettingChanged and written to the user's settings soon after, by
// a thread of its own, so no keystroke waits for the disk.
class OctetrySettings : public QObject
{
    Q_OBJECT

public:
    // The persistent settings; the number is also the load and save order.
    enum Setting
    {
        TabIndexSetting = 0,
        AllowOneSubnetBitSetting = 1,
        AllowOneHostBitSetting = 2,
        IPv4AddressSetting = 3,
        SubnetPolicySetting = 4,
        CidrAddressBlockSetting = 5,
        CidrPolicySetting = 6,
        IPv6AddressSetting = 7,
        IPv6PrefixLengthSetting = 8,
        IPv6SubnetLengthSetting = 9,
        WindowGeometrySetting = 10,
        ListASetting = 11,
        ListBSetting = 12,
        ListOperationSetting = 13,
        ListSplitIPv4Setting = 14,
        ListSplitIPv6Setting = 15,
    };
    Q_ENUM(Setting)

    static constexpr int SettingCount = 16;

    // What a store starts from where the settings hold no valid address.
    struct FallbackAddresses
    {
        IPv4Address ipv4;
        IPv6Address ipv6;

        // The first address of each family, else 172.16.0.1 and ::1.
        [[nodiscard]] static FallbackAddresses Of(const InterfaceAddresses& addresses);
    };

    // The store of the process, built on first call over the machine's interface addresses.
    static OctetrySettings* Instance();

    // Builds a store over the user's settings as they are now: registers the
    // value types, loads the values and completes the missing ones, the
    // addresses from fallback. The program uses Instance().
    explicit OctetrySettings(const FallbackAddresses& fallback);
    // Saves once more.
    ~OctetrySettings() override;

    int GetTabIndex() const { return m_tabIndex; }
    bool GetAllowOneSubnetBit() const { return m_allowOneSubnetBit; }
    bool GetAllowOneHostBit() const { return m_allowOneHostBit; }
    const IPv4Address& GetIPv4Address() const { return m_ipv4Address; }
    const IPv4SubnetPolicy& GetSubnetPolicy() const { return m_subnetPolicy; }
    const IPv4AddressBlock& GetCidrAddressBlock() const { return m_cidrAddressBlock; }
    const IPv4CidrPolicy& GetCidrPolicy() const { return m_cidrPolicy; }
    const IPv6Address& GetIPv6Address() const { return m_ipv6Address; }
    // The IPv6 prefix being split into subnets, and the subnets' length (never shorter).
    int GetIPv6PrefixLength() const { return m_ipv6PrefixLength; }
    int GetIPv6SubnetLength() const { return m_ipv6SubnetLength; }
    // The window's last size, position and maximised state as QWidget::saveGeometry
    // gives them; empty until the window has first closed.
    const QByteArray& GetWindowGeometry() const { return m_windowGeometry; }
    // The Lists page's two lists as text, its operation (the index of its
    // combo box) and the lengths its result prefixes are split into (-1: none).
    const QString& GetListA() const { return m_listA; }
    const QString& GetListB() const { return m_listB; }
    int GetListOperation() const { return m_listOperation; }
    int GetListSplitIPv4() const { return m_listSplitIPv4; }
    int GetListSplitIPv6() const { return m_listSplitIPv6; }
    // Read once at start and never written: whether the octal rows are shown.
    bool GetShowOctalConversions() const { return m_showOctalConversions; }

    // Each stores, queues for writing and announces a value that differs from the held one.
    void SetTabIndex(int nTabIndex);
    void SetAllowOneSubnetBit(bool allow);
    void SetAllowOneHostBit(bool allow);
    void SetIPv4Address(const IPv4Address& address);
    void SetSubnetPolicy(const IPv4SubnetPolicy& policy);
    void SetCidrAddressBlock(const IPv4AddressBlock& block);
    void SetCidrPolicy(const IPv4CidrPolicy& policy);
    void SetIPv6Address(const IPv6Address& address);
    // Lengths outside 0..128 are refused; a prefix longer than the subnets
    // makes them as long, announced once as IPv6PrefixLengthSetting, and
    // subnets shorter than the prefix are refused.
    void SetIPv6PrefixLength(int length);
    void SetIPv6SubnetLength(int length);
    void SetWindowGeometry(const QByteArray& geometry);
    void SetListA(const QString& text);
    void SetListB(const QString& text);
    // Operations outside 0..kListOperationCount - 1 and lengths outside -1..32
    // or -1..128 are refused.
    void SetListOperation(int operation);
    void SetListSplitIPv4(int length);
    void SetListSplitIPv6(int length);
    static constexpr int kListOperationCount = 7;

    // The key of nSetting in the settings file; outside 0..SettingCount - 1 throws std::out_of_range("nSetting").
    static QString GetKey(int nSetting);
    // The value of nSetting in its stored QVariant type; same range rule.
    QVariant GetValue(int nSetting) const;
    // Converts value to nSetting's type (unusable values give the type's default) and sets it.
    void SetValue(int nSetting, const QVariant& value);

    // Reads every setting, keeping the held value for a missing key; writes nothing.
    void Load();
    // Writes every setting now and returns once they are on disk.
    void Save();
    // Writes the pending change now and returns once it is on disk; the
    // window's closing and the application's quitting call it.
    void Flush();
    // Whether a change is queued for writing or being written.
    bool IsSavePending() const;

signals:
    void SettingChanged(OctetrySettings::Setting setting);

private:
    void CompleteMissingValues(const FallbackAddresses& fallback);
    void QueueWrite();
    template <typename T>
    void Set(T& member, const T& value, Setting setting);

    bool m_loading = false;
    int m_tabIndex = 0;
    bool m_allowOneSubnetBit = true;
    bool m_allowOneHostBit = true;
    IPv4Address m_ipv4Address;
    IPv4SubnetPolicy m_subnetPolicy;
    IPv4AddressBlock m_cidrAddressBlock;
    IPv4CidrPolicy m_cidrPolicy;
    IPv6Address m_ipv6Address;
    int m_ipv6PrefixLength = 48;
    int m_ipv6SubnetLength = 64;
    QByteArray m_windowGeometry;
    QString m_listA;
    QString m_listB;
    int m_listOperation = 0;
    int m_listSplitIPv4 = -1;
    int m_listSplitIPv6 = -1;
    bool m_showOctalConversions = false;
    std::unique_ptr<SettingsWriter> m_writer;
};
