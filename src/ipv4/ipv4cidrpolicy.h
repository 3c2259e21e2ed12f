// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/bitusage.h"
#include "address/ipv4address.h"
#include "ipv4/ipv4addressblock.h"

#include <QMetaType>

#include <vector>

class QDataStream;

// Divides an address block into equal routes by a number of CIDR bits that follow
// the block's prefix.
class IPv4CidrPolicy
{
public:
    // The invalid policy (invalid block, 0 CIDR bits).
    IPv4CidrPolicy() = default;
    // Stores the block and the low 8 bits of nCidrBits; throws
    // std::out_of_range("nCidrBits") when they lie outside 1..32.
    IPv4CidrPolicy(const IPv4AddressBlock& addressBlock, quint32 nCidrBits);

    // Whether the block is valid and the CIDR bits are above 0.
    bool IsValid() const;

    // The members as stored (no validity check).
    const IPv4AddressBlock& GetAddressBlock() const { return m_addressBlock; }
    quint8 GetCidrBits() const { return m_cidrBits; }

    // The queries below throw ExceptionUtil::invalid_operation("this") on an invalid
    // policy, and on one whose prefix plus CIDR bits exceed 32.

    // The CIDR mask: block prefix and CIDR bits set.
    IPv4Address GetCidrMask() const;
    // Mask length B + c, CIDR bits c and host bits h.
    void GetBitCounts(quint8& maskBits, quint8& cidrBits, quint8& hostBits) const;
    // 2^c networks of 2^h addresses each.
    void GetMaxCounts(quint32& maxNetworks, quint32& addressesPerNetwork) const;
    // The route number of the address within the block holding it; an invalid
    // address throws "this".
    quint32 GetNetworkIndex(const IPv4Address& address) const;
    // First and last address of route nNetworkIndex (0..2^c-1, else
    // std::out_of_range("nNetworkIndex")) of the block holding the address; returns
    // whether they differ.
    bool GetRoute(const IPv4Address& address, quint32 nNetworkIndex, IPv4Address& first, IPv4Address& last) const;
    // (FixedBit, B), (CidrBit, c), then (OpenBit, h) when h > 0.
    BitUsage GetBitUsage() const;

    // The policies of the block with 1 to 32 - B CIDR bits, ascending.
    static std::vector<IPv4CidrPolicy> GetPolicies(const IPv4AddressBlock& addressBlock);

    // Registers the meta-type "IPv4CidrPolicy" with its stream operators (once per process).
    static void RegisterMetaType();

    friend bool operator==(const IPv4CidrPolicy& a, const IPv4CidrPolicy& b)
    {
        return a.m_addressBlock == b.m_addressBlock && a.m_cidrBits == b.m_cidrBits;
    }
    friend bool operator!=(const IPv4CidrPolicy& a, const IPv4CidrPolicy& b) { return !(a == b); }

    // Layout (8 bytes, big-endian): the block's layout, then the CIDR bits as qint32.
    friend QDataStream& operator<<(QDataStream& stream, const IPv4CidrPolicy& policy);
    // Reads the same layout; short input or prefix plus CIDR bits above 32 gives the
    // invalid policy and a stream status other than Ok.
    friend QDataStream& operator>>(QDataStream& stream, IPv4CidrPolicy& policy);

private:
    void CheckValid() const;

    IPv4AddressBlock m_addressBlock;
    quint8 m_cidrBits = 0;
};

Q_DECLARE_METATYPE(IPv4CidrPolicy)

// Registers the IPv4 value meta-types in the order IPv4Address, IPv4AddressClass,
// IPv4SubnetPolicy, IPv4AddressBlock, IPv4CidrPolicy.
void RegisterIPv4MetaTypes();
