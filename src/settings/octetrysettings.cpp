// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/octetrysettings.h"

#include "address/interfaceaddresses.h"
#include "ipv4/ipv4addressclass.h"
#include "settings/settingswriter.h"

#include <QCoreApplication>
#include <QSettings>
#include <QString>

#include <algorithm>
#include <array>
#include <cstddef>
#include <stdexcept>

namespace {

using S = OctetrySettings;

const char* const showOctalConversionsKey = "ShowOctalConversions";

// The INI format reads every plain value back as text, so "true" and "1"
// must count as well as a real bool; anything else is false.
bool ToBool(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true"))
            return true;
        bool ok = false;
        return text.toLongLong(&ok) != 0 && ok;
    }
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    return ok && number != 0;
}

template <int Fallback>
int ToInt(const QVariant& value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : Fallback;
}

QByteArray ToByteArray(const QVariant& value)
{
    return value.toByteArray();
}

QString ToString(const QVariant& value)
{
    return value.toString();
}

template <typename T>
T ToUserType(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<T>())
        return T();
    return value.value<T>();
}

// One setting of the file: its key, its value as the QVariant that is stored,
// and how a stored QVariant is converted to its type and set.
struct SettingRow
{
    S::Setting setting;
    const char* key;
    QVariant (*read)(const S& settings);
    void (*write)(S& settings, const QVariant& value);
};

// The stored type is the getter's; Convert turns a stored value into the setter's.
template <auto Getter, auto Setter, auto Convert>
constexpr SettingRow Row(S::Setting setting, const char* key)
{
    return {setting, key, [](const S& settings) { return QVariant::fromValue((settings.*Getter)()); },
            [](S& settings, const QVariant& value) { (settings.*Setter)(Convert(value)); }};
}

// clang-format off
constexpr std::array<SettingRow, S::SettingCount> kSettingRows = {
    Row<&S::GetTabIndex, &S::SetTabIndex, ToInt<0>>(S::TabIndexSetting, "TabIndex"),
    Row<&S::GetAllowOneSubnetBit, &S::SetAllowOneSubnetBit, ToBool>(S::AllowOneSubnetBitSetting, "AllowOneSubnetBit"),
    Row<&S::GetAllowOneHostBit, &S::SetAllowOneHostBit, ToBool>(S::AllowOneHostBitSetting, "AllowOneHostBit"),
    Row<&S::GetIPv4Address, &S::SetIPv4Address, ToUserType<IPv4Address>>(S::IPv4AddressSetting, "IPv4Address"),
    Row<&S::GetSubnetPolicy, &S::SetSubnetPolicy, ToUserType<IPv4SubnetPolicy>>(S::SubnetPolicySetting, "SubnetPolicy"),
    Row<&S::GetCidrAddressBlock, &S::SetCidrAddressBlock, ToUserType<IPv4AddressBlock>>(S::CidrAddressBlockSetting, "CidrAddressBlock"),
    Row<&S::GetCidrPolicy, &S::SetCidrPolicy, ToUserType<IPv4CidrPolicy>>(S::CidrPolicySetting, "CidrPolicy"),
    Row<&S::GetIPv6Address, &S::SetIPv6Address, ToUserType<IPv6Address>>(S::IPv6AddressSetting, "IPv6Address"),
    // A length that is no number keeps the held one, as one out of range does.
    Row<&S::GetIPv6PrefixLength, &S::SetIPv6PrefixLength, ToInt<-1>>(S::IPv6PrefixLengthSetting, "IPv6PrefixLength"),
    Row<&S::GetIPv6SubnetLength, &S::SetIPv6SubnetLength, ToInt<-1>>(S::IPv6SubnetLengthSetting, "IPv6SubnetLength"),
    // Bytes that are no geometry are refused by the window when it restores them.
    Row<&S::GetWindowGeometry, &S::SetWindowGeometry, ToByteArray>(S::WindowGeometrySetting, "WindowGeometry"),
    Row<&S::GetListA, &S::SetListA, ToString>(S::ListASetting, "ListA"),
    Row<&S::GetListB, &S::SetListB, ToString>(S::ListBSetting, "ListB"),
    Row<&S::GetListOperation, &S::SetListOperation, ToInt<-2>>(S::ListOperationSetting, "ListOperation"),
    Row<&S::GetListSplitIPv4, &S::SetListSplitIPv4, ToInt<-2>>(S::ListSplitIPv4Setting, "ListSplitIPv4Length"),
    Row<&S::GetListSplitIPv6, &S::SetListSplitIPv6, ToInt<-2>>(S::ListSplitIPv6Setting, "ListSplitIPv6Length"),
};
// clang-format on

// The number of a setting is its row and its place in the file's order.
constexpr bool RowsInSettingOrder()
{
    for (std::size_t n = 0; n < kSettingRows.size(); ++n) {
        if (kSettingRows[n].setting != static_cast<int>(n) || kSettingRows[n].key == nullptr)
            return false;
    }
    return true;
}
static_assert(RowsInSettingOrder(), "one row a setting, in the order of OctetrySettings::Setting");

const SettingRow& RowOf(int nSetting)
{
    if (nSetting < 0 || nSetting >= S::SettingCount)
        throw std::out_of_range("nSetting");
    return kSettingRows[static_cast<std::size_t>(nSetting)];
}

} // namespace

OctetrySettings* OctetrySettings::Instance()
{
    // Never destroyed, so its destructor never saves: the last change is
    // written when the application is about to quit and, should it end
    // without that, when the application object is destroyed.
    static OctetrySettings* const instance = [] {
        qAddPostRoutine([] { Instance()->Flush(); });
        return new OctetrySettings(FallbackAddresses::Of(InterfaceAddresses::System()));
    }();
    return instance;
}

OctetrySettings::FallbackAddresses OctetrySettings::FallbackAddresses::Of(const InterfaceAddresses& addresses)
{
    const std::vector<IPv4Address>& ipv4 = addresses.GetIPv4();
    const std::vector<IPv6Address>& ipv6 = addresses.GetIPv6();
    return {ipv4.empty() ? IPv4Address("172.16.0.1", IPv4Address::DottedDecimal) : ipv4.front(),
            ipv6.empty() ? IPv6Address(std::string("::1")) : ipv6.front()};
}

OctetrySettings::OctetrySettings(const FallbackAddresses& fallback)
    : m_writer(std::make_unique<SettingsWriter>(QSettings()))
{
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &OctetrySettings::Flush);
    RegisterIPv4MetaTypes();
    IPv6Address::RegisterMetaType();
    Load();
    CompleteMissingValues(fallback);
}

OctetrySettings::~OctetrySettings()
{
    Save();
}

void OctetrySettings::CompleteMissingValues(const FallbackAddresses& fallback)
{
    if (!m_ipv4Address.IsValid())
        m_ipv4Address = fallback.ipv4;
    if (!m_ipv6Address.IsValid())
        m_ipv6Address = fallback.ipv6;
    // An empty list of policies leaves the policy invalid; its page then shows nothing.
    if (!m_subnetPolicy.IsValid()) {
        const std::vector<IPv4SubnetPolicy> policies = IPv4SubnetPolicy::GetPolicies(
            IPv4AddressClass::FromAddress(m_ipv4Address), m_allowOneSubnetBit, m_allowOneHostBit);
        if (!policies.empty())
            m_subnetPolicy = policies.front();
    }
    if (!m_cidrAddressBlock.IsValid())
        m_cidrAddressBlock = IPv4AddressBlock::GetBlocks().front();
    if (!m_cidrPolicy.IsValid()) {
        const std::vector<IPv4CidrPolicy> policies = IPv4CidrPolicy::GetPolicies(m_cidrAddressBlock);
        if (!policies.empty())
            m_cidrPolicy = policies.front();
    }
}

template <typename T>
void OctetrySettings::Set(T& member, const T& value, Setting setting)
{
    if (!(member != value))
        return;
    member = value;
    if (!m_loading)
        QueueWrite();
    emit SettingChanged(setting);
}

void OctetrySettings::QueueWrite()
{
    // Writing the file syncs it to disk, which costs far more than a keystroke's
    // whole update; so this thread only hands a copy of the values over.
    SettingsWriter::Values values;
    values.reserve(SettingCount);
    for (int nSetting = 0; nSetting < SettingCount; ++nSetting)
        values.emplace_back(GetKey(nSetting), GetValue(nSetting));
    m_writer->Queue(std::move(values));
}

void OctetrySettings::SetTabIndex(int nTabIndex)
{
    Set(m_tabIndex, nTabIndex, TabIndexSetting);
}
void OctetrySettings::SetAllowOneSubnetBit(bool allow)
{
    Set(m_allowOneSubnetBit, allow, AllowOneSubnetBitSetting);
}
void OctetrySettings::SetAllowOneHostBit(bool allow)
{
    Set(m_allowOneHostBit, allow, AllowOneHostBitSetting);
}
void OctetrySettings::SetIPv4Address(const IPv4Address& address)
{
    Set(m_ipv4Address, address, IPv4AddressSetting);
}
void OctetrySettings::SetSubnetPolicy(const IPv4SubnetPolicy& policy)
{
    Set(m_subnetPolicy, policy, SubnetPolicySetting);
}
void OctetrySettings::SetCidrAddressBlock(const IPv4AddressBlock& block)
{
    Set(m_cidrAddressBlock, block, CidrAddressBlockSetting);
}
void OctetrySettings::SetCidrPolicy(const IPv4CidrPolicy& policy)
{
    Set(m_cidrPolicy, policy, CidrPolicySetting);
}
void OctetrySettings::SetIPv6Address(const IPv6Address& address)
{
    Set(m_ipv6Address, address, IPv6AddressSetting);
}
void OctetrySettings::SetIPv6PrefixLength(int length)
{
    if (length < 0 || length > 128)
        return;
    // Both lengths first, then one announcement: no listener sees subnets shorter
    // than the prefix. A prefix beyond the subnets differs from the held one, so it
    // is announced.
    m_ipv6SubnetLength = std::max(m_ipv6SubnetLength, length);
    Set(m_ipv6PrefixLength, length, IPv6PrefixLengthSetting);
}
void OctetrySettings::SetIPv6SubnetLength(int length)
{
    if (length >= m_ipv6PrefixLength && length <= 128)
        Set(m_ipv6SubnetLength, length, IPv6SubnetLengthSetting);
}
void OctetrySettings::SetWindowGeometry(const QByteArray& geometry)
{
    Set(m_windowGeometry, geometry, WindowGeometrySetting);
}
void OctetrySettings::SetListA(const QString& text)
{
    Set(m_listA, text, ListASetting);
}
void OctetrySettings::SetListB(const QString& text)
{
    Set(m_listB, text, ListBSetting);
}
void OctetrySettings::SetListOperation(int operation)
{
    if (operation >= 0 && operation < kListOperationCount)
        Set(m_listOperation, operation, ListOperationSetting);
}
void OctetrySettings::SetListSplitIPv4(int length)
{
    if (length >= -1 && length <= 32)
        Set(m_listSplitIPv4, length, ListSplitIPv4Setting);
}
void OctetrySettings::SetListSplitIPv6(int length)
{
    if (length >= -1 && length <= 128)
        Set(m_listSplitIPv6, length, ListSplitIPv6Setting);
}

QString OctetrySettings::GetKey(int nSetting)
{
    return QString::fromLatin1(RowOf(nSetting).key);
}

QVariant OctetrySettings::GetValue(int nSetting) const
{
    return RowOf(nSetting).read(*this);
}

void OctetrySettings::SetValue(int nSetting, const QVariant& value)
{
    RowOf(nSetting).write(*this, value);
}

void OctetrySettings::Load()
{
    if (m_loading)
        return;
    m_loading = true;
    {
        QSettings settings;
        for (int nSetting = 0; nSetting < SettingCount; ++nSetting)
            SetValue(nSetting, settings.value(GetKey(nSetting), GetValue(nSetting)));
        m_showOctalConversions = ToBool(settings.value(QLatin1String(showOctalConversionsKey), m_showOctalConversions));
    }
    m_loading = false;
}

void OctetrySettings::Save()
{
    QueueWrite();
    Flush();
}

void OctetrySettings::Flush()
{
    m_writer->Flush();
}

bool OctetrySettings::IsSavePending() const
{
    return m_writer->IsBusy();
}
