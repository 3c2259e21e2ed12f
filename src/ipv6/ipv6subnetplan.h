// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "address/ipv6address.h"

#include <functional>
#include <string>

// Counts and indices of IPv6 subnets reach 2^128.
__extension__ typedef unsigned __int128 UInt128;

// The prefix of one length that holds an address, split into subnets of a
// longer length: the prefix's range, its subnets and the address's own. All
// arithmetic is exact over the whole address space.
class IPv6SubnetPlan
{
public:
    // The most subnets a list shows at once: the row limit of a list view.
    static constexpr int MaxRows = 2147483647;

    // No plan: no address, no subnets.
    IPv6SubnetPlan() = default;
    // The /nPrefixLength holding address, split into /nSubnetLength subnets;
    // throws std::out_of_range("nPrefixLength") unless 0 <= nPrefixLength <= 128,
    // std::out_of_range("nSubnetLength") unless nPrefixLength <= nSubnetLength <= 128,
    // and ExceptionUtil::invalid_operation for an invalid address.
    IPv6SubnetPlan(const IPv6Address& address, int nPrefixLength, int nSubnetLength);

    [[nodiscard]] bool IsValid() const { return m_valid; }
    [[nodiscard]] int GetPrefixLength() const { return m_prefixLength; }
    [[nodiscard]] int GetSubnetLength() const { return m_subnetLength; }
    // The prefix's first and last address.
    [[nodiscard]] IPv6Address GetFirst() const;
    [[nodiscard]] IPv6Address GetLast() const;
    // The index of the address's subnet, counted from the prefix's first.
    [[nodiscard]] UInt128 GetAddressSubnetIndex() const;
    // The first and last address of subnet index; index must be below the subnet count.
    void GetSubnet(UInt128 index, IPv6Address& first, IPv6Address& last) const;

    // How many subnets a list shows: all of them, at most MaxRows; 0 without a plan.
    [[nodiscard]] int GetRowCount() const;
    // The subnet index of the list's first row: the window of MaxRows is as
    // nearly centred on the address's subnet as the prefix allows.
    [[nodiscard]] UInt128 GetFirstRowIndex() const;

    // "2001:DB8:1200::/40": the address in compressed notation and the length.
    [[nodiscard]] static std::string PrefixText(const IPv6Address& address, int length);
    // "2^88 = 309,485,009,821,345,068,724,781,056", exact for nExponent 0 to 128;
    // others throw std::out_of_range("nExponent").
    [[nodiscard]] static std::string PowerOfTwoText(int nExponent);
    // Decimal digits with "," between groups of three, counted from the right.
    [[nodiscard]] static std::string GroupDigits(const std::string& digits);
    // The value in decimal digits, as row numbers are written.
    [[nodiscard]] static std::string DecimalText(UInt128 value);

    // FD00::/8, a 40-bit Global ID from the low bits of random() and zeros: a
    // Unique-Local /48 (RFC 4193 3.2); by default random is the system's
    // cryptographic source.
    [[nodiscard]] static IPv6Address RandomUniqueLocalPrefix(const std::function<quint64()>& random = SystemRandom);
    // 64 bits from the system's cryptographic random source.
    [[nodiscard]] static quint64 SystemRandom();

    [[nodiscard]] static UInt128 ToUInt128(const IPv6Address& address);
    [[nodiscard]] static IPv6Address FromUInt128(UInt128 value);

private:
    // The subnet count less one: every host bit between the two lengths set.
    [[nodiscard]] UInt128 LastSubnetIndex() const;

    UInt128 m_address = 0;
    int m_prefixLength = 0;
    int m_subnetLength = 0;
    bool m_valid = false;
};
