#include "settings/octetrysettings.h"

#include "address/interfaceaddresses.h"
#include "ipv4/ipv4addressclass.h"
#include "settings/settingswriter.h"

#include <QCoreApplication>
#include <QSettings>
#include <QString>

#include <array>
#include <stdexcept>

namespace {

constexpr std::array<const char*, OctetrySettings::SettingCount> settingKeys = {
    "TabIndex",   "AllowOneSubnetBit", "AllowOneHostBit",  "IPv4Address",      "SubnetPolicy",   "CidrAddressBlock",
    "CidrPolicy", "IPv6Address",       "IPv6PrefixLength", "IPv6SubnetLength", "WindowGeometry",
};

const char* const showOctalConversionsKey = "ShowOctalConversions";

void CheckSetting(int nSetting)
{
    if (nSetting < 0 || nSetting >= OctetrySettings::SettingCount)
        throw std::out_of_range("nSetting");
}

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

int ToInt(const QVariant& value, int fallback = 0)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : fallback;
}

template <typename T>
T ToUserType(const QVariant& value)
{
    if (value.metaType() != QMetaType::fromType<T>())
        return T();
    return value.value<T>();
}

} // namespace

OctetrySettings* OctetrySettings::Instance()
{
    // Lives until the process ends; the last change is written when the
    // application quits, or at the latest when its object is destroyed.
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
    Set(m_ipv6PrefixLength, length, IPv6PrefixLengthSetting);
    if (m_ipv6SubnetLength < length)
        Set(m_ipv6SubnetLength, length, IPv6SubnetLengthSetting);
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

QString OctetrySettings::GetKey(int nSetting)
{
    CheckSetting(nSetting);
    return QString::fromLatin1(settingKeys[static_cast<std::size_t>(nSetting)]);
}

QVariant OctetrySettings::GetValue(int nSetting) const
{
    CheckSetting(nSetting);
    switch (static_cast<Setting>(nSetting)) {
    case TabIndexSetting:
        return QVariant(m_tabIndex);
    case AllowOneSubnetBitSetting:
        return QVariant(m_allowOneSubnetBit);
    case AllowOneHostBitSetting:
        return QVariant(m_allowOneHostBit);
    case IPv4AddressSetting:
        return QVariant::fromValue(m_ipv4Address);
    case SubnetPolicySetting:
        return QVariant::fromValue(m_subnetPolicy);
    case CidrAddressBlockSetting:
        return QVariant::fromValue(m_cidrAddressBlock);
    case CidrPolicySetting:
        return QVariant::fromValue(m_cidrPolicy);
    case IPv6AddressSetting:
        return QVariant::fromValue(m_ipv6Address);
    case IPv6PrefixLengthSetting:
        return QVariant(m_ipv6PrefixLength);
    case IPv6SubnetLengthSetting:
        return QVariant(m_ipv6SubnetLength);
    case WindowGeometrySetting:
        return QVariant(m_windowGeometry);
    }
    return {};
}

void OctetrySettings::SetValue(int nSetting, const QVariant& value)
{
    CheckSetting(nSetting);
    switch (static_cast<Setting>(nSetting)) {
    case TabIndexSetting:
        SetTabIndex(ToInt(value));
        break;
    case AllowOneSubnetBitSetting:
        SetAllowOneSubnetBit(ToBool(value));
        break;
    case AllowOneHostBitSetting:
        SetAllowOneHostBit(ToBool(value));
        break;
    case IPv4AddressSetting:
        SetIPv4Address(ToUserType<IPv4Address>(value));
        break;
    case SubnetPolicySetting:
        SetSubnetPolicy(ToUserType<IPv4SubnetPolicy>(value));
        break;
    case CidrAddressBlockSetting:
        SetCidrAddressBlock(ToUserType<IPv4AddressBlock>(value));
        break;
    case CidrPolicySetting:
        SetCidrPolicy(ToUserType<IPv4CidrPolicy>(value));
        break;
    case IPv6AddressSetting:
        SetIPv6Address(ToUserType<IPv6Address>(value));
        break;
    // A length that is no number keeps the held one, as one out of range does.
    case IPv6PrefixLengthSetting:
        SetIPv6PrefixLength(ToInt(value, -1));
        break;
    case IPv6SubnetLengthSetting:
        SetIPv6SubnetLength(ToInt(value, -1));
        break;
    // Bytes that are no geometry are refused by the window when it restores them.
    case WindowGeometrySetting:
        SetWindowGeometry(value.toByteArray());
        break;
    }
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
