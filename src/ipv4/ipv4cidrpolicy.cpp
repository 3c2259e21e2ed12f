// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv4/ipv4cidrpolicy.h"

#include "address/datastreamutil.h"
#include "address/exceptionutil.h"
#include "ipv4/ipv4addressclass.h"
#include "ipv4/ipv4subnetpolicy.h"
#include "ipv4/maskfield.h"

#include <QDataStream>

#include <stdexcept>

namespace {

// A policy's mask: the block's prefix, then the CIDR bits.
MaskField Field(const IPv4AddressBlock& block, quint8 cidrBits)
{
    return MaskField(block.GetMaskBits(), cidrBits);
}

} // namespace

IPv4CidrPolicy::IPv4CidrPolicy(const IPv4AddressBlock& addressBlock, quint32 nCidrBits)
    : m_addressBlock(addressBlock),
      m_cidrBits(static_cast<quint8>(nCidrBits))
{
    if (m_cidrBits < 1 || m_cidrBits > 32)
        throw std::out_of_range("nCidrBits");
}

bool IPv4CidrPolicy::IsValid() const
{
    return m_addressBlock.IsValid() && m_cidrBits > 0;
}

void IPv4CidrPolicy::CheckValid() const
{
    // A prefix plus CIDR bits beyond 32 leaves a negative number of host bits.
    if (!IsValid() || static_cast<quint32>(m_addressBlock.GetMaskBits()) + m_cidrBits > 32)
        throw ExceptionUtil::invalid_operation("this");
}

IPv4Address IPv4CidrPolicy::GetCidrMask() const
{
    CheckValid();
    return Field(m_addressBlock, m_cidrBits).GetMask();
}

void IPv4CidrPolicy::GetBitCounts(quint8& maskBits, quint8& cidrBits, quint8& hostBits) const
{
    CheckValid();
    Field(m_addressBlock, m_cidrBits).GetBitCounts(maskBits, cidrBits, hostBits);
}

void IPv4CidrPolicy::GetMaxCounts(quint32& maxNetworks, quint32& addressesPerNetwork) const
{
    CheckValid();
    const MaskField field = Field(m_addressBlock, m_cidrBits);
    maxNetworks = field.GetPartCount();
    addressesPerNetwork = field.GetPartSize();
}

quint32 IPv4CidrPolicy::GetNetworkIndex(const IPv4Address& address) const
{
    CheckValid();
    return Field(m_addressBlock, m_cidrBits).GetPartIndex(address);
}

bool IPv4CidrPolicy::GetRoute(const IPv4Address& address, quint32 nNetworkIndex, IPv4Address& first,
                              IPv4Address& last) const
{
    CheckValid();
    Field(m_addressBlock, m_cidrBits).GetPartRange(address, nNetworkIndex, "nNetworkIndex", first, last);
    return first != last;
}

BitUsage IPv4CidrPolicy::GetBitUsage() const
{
    CheckValid();
    const MaskField field = Field(m_addressBlock, m_cidrBits);
    BitUsage bitUsage{{FixedBit, static_cast<quint8>(field.GetPrefixBits())},
                      {CidrBit, static_cast<quint8>(field.GetFieldBits())}};
    if (field.GetHostBits() > 0)
        bitUsage.emplace_back(OpenBit, static_cast<quint8>(field.GetHostBits()));
    return bitUsage;
}

std::vector<IPv4CidrPolicy> IPv4CidrPolicy::GetPolicies(const IPv4AddressBlock& addressBlock)
{
    std::vector<IPv4CidrPolicy> policies;
    for (quint32 c = 1; static_cast<quint32>(addressBlock.GetMaskBits()) + c <= 32; ++c)
        policies.emplace_back(addressBlock, c);
    return policies;
}

void IPv4CidrPolicy::RegisterMetaType()
{
    static const int id = qRegisterMetaType<IPv4CidrPolicy>();
    Q_UNUSED(id);
}

QDataStream& operator<<(QDataStream& stream, const IPv4CidrPolicy& policy)
{
    return stream << policy.m_addressBlock << static_cast<qint32>(policy.m_cidrBits);
}

QDataStream& operator>>(QDataStream& stream, IPv4CidrPolicy& policy)
{
    policy = IPv4CidrPolicy();
    IPv4AddressBlock block;
    quint8 cidrBits = 0;
    stream >> block;
    if (stream.status() != QDataStream::Ok || !DataStreamUtil::ReadCount(stream, cidrBits))
        return stream;
    if (static_cast<quint32>(block.GetMaskBits()) + cidrBits > 32) {
        DataStreamUtil::Corrupt(stream);
        return stream;
    }
    policy.m_addressBlock = block;
    policy.m_cidrBits = cidrBits;
    return stream;
}

void RegisterIPv4MetaTypes()
{
    IPv4Address::RegisterMetaType();
    IPv4AddressClass::RegisterMetaType();
    IPv4SubnetPolicy::RegisterMetaType();
    IPv4AddressBlock::RegisterMetaType();
    IPv4CidrPolicy::RegisterMetaType();
}
