// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/bitusage.h"
#include "address/ipv4address.h"
#include "ipv4/ipv4addressclass.h"

#include <QMetaType>

#include <vector>

class QDataStream;

// How the classful network of an address class is divided into subnets: the number
// of host bits borrowed for the subnet number and the RFC 1878 (one subnet bit) and
// RFC 3021 (one host bit) options.
class IPv4SubnetPolicy
{
public:
    // The invalid policy (invalid class, 0 subnet bits, both options off).
    IPv4SubnetPolicy() = default;
    // Stores the low 8 bits of nSubnetBits; throws std::out_of_range("nSubnetBits")
    // when they lie outside the range the class and options permit.
    IPv4SubnetPolicy(const IPv4AddressClass& addressClass, quint32 nSubnetBits, bool allowOneSubnetBit,
                     bool allowOneHostBit);

    // Whether the class is valid and the subnet bits are above 0.
    bool IsValid() const;

    // The members as stored (no validity check).
    const IPv4AddressClass& GetAddressClass() const { return m_addressClass; }
    quint8 GetSubnetBits() const { return m_subnetBits; }
    bool GetAllowOneSubnetBit() const { return m_allowOneSubnetBit; }
    bool GetAllowOneHostBit() const { return m_allowOneHostBit; }

    // The queries below throw ExceptionUtil::invalid_operation("this") on an invalid policy.

    // The subnet mask: network bits and subnet bits set.
    IPv4Address GetSubnetMask() const;
    // Mask length N + s, subnet bits s and host bits h.
    void GetBitCounts(quint8& maskBits, quint8& subnetBits, quint8& hostBits) const;
    // 2^s subnets (2 less without RFC 1878) and 2^h hosts (2 less when h > 1).
    void GetMaxCounts(quint32& maxSubnets, quint32& maxHosts) const;
    // The subnet number of an address of the class; std::invalid_argument("inAddress")
    // when the address is not in the class.
    quint32 GetSubnetIndex(const IPv4Address& inAddress) const;
    // Subnet ID and broadcast of subnet nSubnetIndex (0..2^s-1, else
    // std::out_of_range("nSubnetIndex")) of the address's network; returns h >= 2.
    bool GetSubnet(const IPv4Address& inAddress, quint32 nSubnetIndex, IPv4Address& subnetId,
                   IPv4Address& broadcast) const;
    // First and last host of that subnet (the whole subnet when h < 2); returns h >= 2.
    bool GetHostRange(const IPv4Address& inAddress, quint32 nSubnetIndex, IPv4Address& firstHost,
                      IPv4Address& lastHost) const;
    // The class's network entries, then (SubnetBit, s) and (HostBit, h).
    BitUsage GetBitUsage() const;

    // The lowest and highest permitted subnet bits for a class and the options;
    // returns false (range empty) for a class that cannot be subnetted.
    static bool GetSubnetBitsRange(const IPv4AddressClass& addressClass, bool allowOneSubnetBit, bool allowOneHostBit,
                                   quint8& lowest, quint8& highest);
    // Every permitted policy of the class, by increasing mask length; empty for a
    // class that cannot be subnetted.
    static std::vector<IPv4SubnetPolicy> GetPolicies(const IPv4AddressClass& addressClass, bool allowOneSubnetBit,
                                                     bool allowOneHostBit);

    // Registers the meta-type "IPv4SubnetPolicy" with its stream operators (once per process).
    static void RegisterMetaType();

    friend bool operator==(const IPv4SubnetPolicy& a, const IPv4SubnetPolicy& b);
    friend bool operator!=(const IPv4SubnetPolicy& a, const IPv4SubnetPolicy& b) { return !(a == b); }

    // Layout (10 bytes, big-endian): class ID qint32, subnet bits qint32, then the two
    // options as QDataStream bools.
    friend QDataStream& operator<<(QDataStream& stream, const IPv4SubnetPolicy& policy);
    // Reads the same layout; short input or a policy no class permits gives the
    // invalid policy and a stream status other than Ok.
    friend QDataStream& operator>>(QDataStream& stream, IPv4SubnetPolicy& policy);

private:
    void CheckValid() const;
    void CheckAddress(const IPv4Address& inAddress) const;

    IPv4AddressClass m_addressClass;
    quint8 m_subnetBits = 0;
    bool m_allowOneSubnetBit = false;
    bool m_allowOneHostBit = false;
};

Q_DECLARE_METATYPE(IPv4SubnetPolicy)
