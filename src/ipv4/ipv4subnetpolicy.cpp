// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv4/ipv4subnetpolicy.h"

#include "address/datastreamutil.h"
#include "address/exceptionutil.h"
#include "ipv4/maskfield.h"

#include <QDataStream>

#include <stdexcept>

namespace {

// A policy's mask: the class's network bits, then the subnet bits.
MaskField Field(const IPv4AddressClass& addressClass, quint8 subnetBits)
{
    return MaskField(GetNetworkBitCount(addressClass.GetBitUsage()), subnetBits);
}

} // namespace

IPv4SubnetPolicy::IPv4SubnetPolicy(const IPv4AddressClass& addressClass, quint32 nSubnetBits, bool allowOneSubnetBit,
                                   bool allowOneHostBit)
    : m_addressClass(addressClass),
      m_subnetBits(static_cast<quint8>(nSubnetBits)),
      m_allowOneSubnetBit(allowOneSubnetBit),
      m_allowOneHostBit(allowOneHostBit)
{
    quint8 lowest = 0;
    quint8 highest = 0;
    if (!GetSubnetBitsRange(addressClass, allowOneSubnetBit, allowOneHostBit, lowest, highest) || m_subnetBits < lowest
        || m_subnetBits > highest)
        throw std::out_of_range("nSubnetBits");
}

bool IPv4SubnetPolicy::IsValid() const
{
    return m_addressClass.IsValid() && m_subnetBits > 0;
}

void IPv4SubnetPolicy::CheckValid() const
{
    if (!IsValid())
        throw ExceptionUtil::invalid_operation("this");
}

void IPv4SubnetPolicy::CheckAddress(const IPv4Address& inAddress) const
{
    if (!m_addressClass.Contains(inAddress))
        throw std::invalid_argument("inAddress");
}

IPv4Address IPv4SubnetPolicy::GetSubnetMask() const
{
    CheckValid();
    return Field(m_addressClass, m_subnetBits).GetMask();
}

void IPv4SubnetPolicy::GetBitCounts(quint8& maskBits, quint8& subnetBits, quint8& hostBits) const
{
    CheckValid();
    Field(m_addressClass, m_subnetBits).GetBitCounts(maskBits, subnetBits, hostBits);
}

void IPv4SubnetPolicy::GetMaxCounts(quint32& maxSubnets, quint32& maxHosts) const
{
    CheckValid();
    const MaskField field = Field(m_addressClass, m_subnetBits);
    // Without RFC 1878 the all-zeros and all-ones subnets are not counted; a /31
    // (RFC 3021) uses both of its addresses.
    maxSubnets = field.GetPartCount() - (m_allowOneSubnetBit ? 0 : 2);
    maxHosts = field.GetPartSize() - (field.GetHostBits() > 1 ? 2 : 0);
}

quint32 IPv4SubnetPolicy::GetSubnetIndex(const IPv4Address& inAddress) const
{
    CheckValid();
    CheckAddress(inAddress);
    return Field(m_addressClass, m_subnetBits).GetPartIndex(inAddress);
}

bool IPv4SubnetPolicy::GetSubnet(const IPv4Address& inAddress, quint32 nSubnetIndex, IPv4Address& subnetId,
                                 IPv4Address& broadcast) const
{
    CheckValid();
    CheckAddress(inAddress);
    const MaskField field = Field(m_addressClass, m_subnetBits);
    field.GetPartRange(inAddress, nSubnetIndex, "nSubnetIndex", subnetId, broadcast);
    return field.GetHostBits() >= 2;
}

bool IPv4SubnetPolicy::GetHostRange(const IPv4Address& inAddress, quint32 nSubnetIndex, IPv4Address& firstHost,
                                    IPv4Address& lastHost) const
{
    IPv4Address subnetId;
    IPv4Address broadcast;
    const bool hasHosts = GetSubnet(inAddress, nSubnetIndex, subnetId, broadcast);
    firstHost = hasHosts ? subnetId.GetValue() + 1 : subnetId.GetValue();
    lastHost = hasHosts ? broadcast.GetValue() - 1 : broadcast.GetValue();
    return hasHosts;
}

BitUsage IPv4SubnetPolicy::GetBitUsage() const
{
    CheckValid();
    const MaskField field = Field(m_addressClass, m_subnetBits);
    BitUsage bitUsage = GetNetworkPart(m_addressClass.GetBitUsage());
    bitUsage.emplace_back(SubnetBit, static_cast<quint8>(field.GetFieldBits()));
    bitUsage.emplace_back(HostBit, static_cast<quint8>(field.GetHostBits()));
    return bitUsage;
}

bool IPv4SubnetPolicy::GetSubnetBitsRange(const IPv4AddressClass& addressClass, bool allowOneSubnetBit,
                                          bool allowOneHostBit, quint8& lowest, quint8& highest)
{
    lowest = 0;
    highest = 0;
    if (!addressClass.IsSubnettable())
        return false;
    const qint32 hostBits = static_cast<qint32>(GetHostBitCount(addressClass.GetBitUsage()));
    const qint32 low = allowOneSubnetBit ? 1 : 2;
    const qint32 high = hostBits - (allowOneHostBit ? 1 : 2);
    if (high < low)
        return false;
    lowest = static_cast<quint8>(low);
    highest = static_cast<quint8>(high);
    return true;
}

std::vector<IPv4SubnetPolicy> IPv4SubnetPolicy::GetPolicies(const IPv4AddressClass& addressClass,
                                                            bool allowOneSubnetBit, bool allowOneHostBit)
{
    std::vector<IPv4SubnetPolicy> policies;
    quint8 lowest = 0;
    quint8 highest = 0;
    if (!GetSubnetBitsRange(addressClass, allowOneSubnetBit, allowOneHostBit, lowest, highest))
        return policies;
    for (quint32 s = lowest; s <= highest; ++s)
        policies.emplace_back(addressClass, s, allowOneSubnetBit, allowOneHostBit);
    return policies;
}

void IPv4SubnetPolicy::RegisterMetaType()
{
    static const int id = qRegisterMetaType<IPv4SubnetPolicy>();
    Q_UNUSED(id);
}

bool operator==(const IPv4SubnetPolicy& a, const IPv4SubnetPolicy& b)
{
    return a.m_addressClass == b.m_addressClass && a.m_subnetBits == b.m_subnetBits
           && a.m_allowOneSubnetBit == b.m_allowOneSubnetBit && a.m_allowOneHostBit == b.m_allowOneHostBit;
}

QDataStream& operator<<(QDataStream& stream, const IPv4SubnetPolicy& policy)
{
    return stream << policy.m_addressClass << static_cast<qint32>(policy.m_subnetBits) << policy.m_allowOneSubnetBit
                  << policy.m_allowOneHostBit;
}

QDataStream& operator>>(QDataStream& stream, IPv4SubnetPolicy& policy)
{
    policy = IPv4SubnetPolicy();
    IPv4SubnetPolicy read;
    stream >> read.m_addressClass;
    if (stream.status() != QDataStream::Ok || !DataStreamUtil::ReadCount(stream, read.m_subnetBits)
        || !DataStreamUtil::ReadFlag(stream, read.m_allowOneSubnetBit)
        || !DataStreamUtil::ReadFlag(stream, read.m_allowOneHostBit))
        return stream;
    // Apart from the default, only policies that the constructor accepted are
    // ever written: a subnettable class and bits within the range of their own options.
    const bool isDefault = !read.m_addressClass.IsValid() && read.m_subnetBits == 0;
    quint8 lowest = 0;
    quint8 highest = 0;
    if (!isDefault
        && (!IPv4SubnetPolicy::GetSubnetBitsRange(read.m_addressClass, read.m_allowOneSubnetBit, read.m_allowOneHostBit,
                                                  lowest, highest)
            || read.m_subnetBits < lowest || read.m_subnetBits > highest)) {
        DataStreamUtil::Corrupt(stream);
        return stream;
    }
    policy = read;
    return stream;
}
