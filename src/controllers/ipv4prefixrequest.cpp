// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "controllers/ipv4prefixrequest.h"

#include "address/ipv4address.h"
#include "controllers/ipv4page.h"
#include "ipv4/ipv4addressblock.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4cidrpolicy.h"
#include "ipv4/ipv4subnetpolicy.h"
#include "settings/octetrysettings.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace {
// Why an address outside Class A, B and C has no subnets, by class.
struct UnsubnettableReason
{
    IPv4AddressClass::ClassID classID;
    const char* text;
};

const UnsubnettableReason kUnsubnettableReasons[] = {
    {IPv4AddressClass::ThisHostClass,
     QT_TRANSLATE_NOOP("IPv4PrefixRequest", "%1 stands for this host (RFC 1122): it has no network to subnet")},
    {IPv4AddressClass::ThisNetworkClass,
     QT_TRANSLATE_NOOP("IPv4PrefixRequest", "%1 is in 0.0.0.0/8, \"this\" network (RFC 1122): it has no subnets")},
    {IPv4AddressClass::LoopbackClass,
     QT_TRANSLATE_NOOP(
         "IPv4PrefixRequest",
         "%1 is a loopback address (127.0.0.0/8, RFC 1122): it never leaves the host and has no subnets")},
    {IPv4AddressClass::ClassD,
     QT_TRANSLATE_NOOP("IPv4PrefixRequest", "%1 is a multicast group (Class D, 224.0.0.0/4): a group has no subnets")},
    {IPv4AddressClass::ClassE,
     QT_TRANSLATE_NOOP("IPv4PrefixRequest", "%1 is reserved (Class E, 240.0.0.0/4): it has no subnets")},
    {IPv4AddressClass::BroadcastClass,
     QT_TRANSLATE_NOOP("IPv4PrefixRequest", "%1 is the limited broadcast address (RFC 919): it has no subnets")},
};

QString Tr(const char* text)
{
    return QCoreApplication::translate("IPv4PrefixRequest", text);
}
} // namespace

IPv4PrefixRequest::IPv4PrefixRequest(OctetrySettings* settings, QObject* parent)
    : QObject(parent),
      m_settings(settings)
{
    connect(settings, &OctetrySettings::SettingChanged, this, [this](OctetrySettings::Setting setting) {
        if (setting == OctetrySettings::IPv4AddressSetting)
            m_subnetsLength = m_cidrLength = m_widenedBlockBits = -1;
    });
}

void IPv4PrefixRequest::Apply(int prefixLength)
{
    ApplyToSubnets(prefixLength);
    ApplyToCidr(prefixLength);
    emit Changed();
}

void IPv4PrefixRequest::ForgetSubnets()
{
    m_subnetsLength = -1;
}

void IPv4PrefixRequest::ForgetCidr()
{
    m_cidrLength = m_widenedBlockBits = -1;
}

void IPv4PrefixRequest::ApplyToSubnets(int prefixLength)
{
    const IPv4AddressClass addressClass = IPv4AddressClass::FromAddress(m_settings->GetIPv4Address());
    if (!addressClass.IsSubnettable())
        return;
    // The nearest mask the class and the options allow.
    const std::vector<IPv4SubnetPolicy> policies = IPv4SubnetPolicy::GetPolicies(
        addressClass, m_settings->GetAllowOneSubnetBit(), m_settings->GetAllowOneHostBit());
    const int chosen = IPv4Page::ChooseMaskLength(policies, prefixLength, IPv4Page::SubnetMaskLength);
    m_settings->SetSubnetPolicy(policies[static_cast<std::size_t>(chosen)]);
    m_subnetsLength = prefixLength;
}

void IPv4PrefixRequest::ApplyToCidr(int prefixLength)
{
    // A policy has one CIDR bit at least, so /0 and /1 give the /2 of a /1 block.
    const int maskLength = std::max(prefixLength, 2);
    IPv4AddressBlock block = m_settings->GetCidrAddressBlock();
    // The same prefix again (Return after a paste) keeps the note of the widening it caused.
    if (prefixLength != m_cidrLength)
        m_widenedBlockBits = -1;
    if (!block.IsValid() || block.GetMaskBits() >= maskLength) {
        if (block.IsValid() && prefixLength >= 2)
            m_widenedBlockBits = block.GetMaskBits();
        block = IPv4AddressBlock(static_cast<quint8>(maskLength - 1));
        m_settings->SetCidrAddressBlock(block);
    }
    m_settings->SetCidrPolicy(IPv4CidrPolicy(block, static_cast<quint32>(maskLength - block.GetMaskBits())));
    m_cidrLength = prefixLength;
}

QString IPv4PrefixRequest::SubnetsNote() const
{
    const IPv4Address address = m_settings->GetIPv4Address();
    if (!address.IsValid())
        return {};
    const IPv4AddressClass addressClass = IPv4AddressClass::FromAddress(address);
    const auto* reason =
        std::find_if(std::begin(kUnsubnettableReasons), std::end(kUnsubnettableReasons),
                     [&](const UnsubnettableReason& r) { return r.classID == addressClass.GetClassID(); });
    if (reason != std::end(kUnsubnettableReasons))
        return Tr(reason->text).arg(IPv4Page::DottedDecimal(address));

    const IPv4SubnetPolicy& policy = m_settings->GetSubnetPolicy();
    if (m_subnetsLength < 0 || !policy.IsValid())
        return {};
    quint8 maskBits = 0;
    quint8 subnetBits = 0;
    quint8 hostBits = 0;
    policy.GetBitCounts(maskBits, subnetBits, hostBits);
    const int typed = m_subnetsLength;
    const int classBits = maskBits - subnetBits;
    if (typed == maskBits)
        return {};
    if (typed == 32)
        return Tr("/32 is one host, not a subnet: shown as /%1").arg(maskBits);
    if (typed == 31)
        return Tr("/31 needs Options > Allow 1 Host Bit (RFC 3021): shown as /%1").arg(maskBits);
    if (typed == classBits + 1)
        return Tr("/%1 needs Options > Allow 1 Subnet Bit (RFC 1878): shown as /%2").arg(typed).arg(maskBits);
    if (typed > classBits)
        return Tr("/%1 shown as /%2").arg(typed).arg(maskBits);
    const IPv4Address network(address.GetValue() & IPv4Address::CreateMask(static_cast<quint8>(classBits)).GetValue());
    return Tr("%1 network %2/%3: subnet masks start at /%4")
        .arg(QString::fromStdString(addressClass.GetName()), IPv4Page::DottedDecimal(network))
        .arg(classBits)
        .arg(maskBits);
}

QString IPv4PrefixRequest::CidrNote() const
{
    if (m_cidrLength < 0 || !m_settings->GetIPv4Address().IsValid())
        return {};
    if (m_cidrLength < 2)
        return Tr("/%1 is too large to divide into routes here: shown as /2, the routes of a /1").arg(m_cidrLength);
    if (m_widenedBlockBits >= 0)
        return Tr("A /%1 block has no /%2 routes: the address block is now /%3")
            .arg(m_widenedBlockBits)
            .arg(m_cidrLength)
            .arg(m_cidrLength - 1);
    return {};
}
