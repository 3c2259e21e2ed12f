// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ipv6/ipv6subnetplan.h"

#include <QRandomGenerator>

#include <algorithm>
#include <stdexcept>

namespace {
// Shifts by the whole width give 0: the language leaves them undefined.
UInt128 ShiftRight(UInt128 value, int bits)
{
    return bits >= 128 ? 0 : value >> bits;
}

UInt128 ShiftLeft(UInt128 value, int bits)
{
    return bits >= 128 ? 0 : value << bits;
}

// The host bits of a /length prefix set: what its last address adds to its first.
UInt128 HostMask(int length)
{
    return ShiftRight(~static_cast<UInt128>(0), length);
}

std::string Digits(UInt128 value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

} // namespace

IPv6SubnetPlan::IPv6SubnetPlan(const IPv6Address& address, int nPrefixLength, int nSubnetLength)
    : m_address(ToUInt128(address)),
      m_prefixLength(nPrefixLength),
      m_subnetLength(nSubnetLength),
      m_valid(true)
{
    if (nPrefixLength < 0 || nPrefixLength > 128)
        throw std::out_of_range("nPrefixLength");
    if (nSubnetLength < nPrefixLength || nSubnetLength > 128)
        throw std::out_of_range("nSubnetLength");
}

IPv6Address IPv6SubnetPlan::GetFirst() const
{
    return FromUInt128(m_address & ~HostMask(m_prefixLength));
}

IPv6Address IPv6SubnetPlan::GetLast() const
{
    return FromUInt128(m_address | HostMask(m_prefixLength));
}

UInt128 IPv6SubnetPlan::LastSubnetIndex() const
{
    return ShiftRight(HostMask(m_prefixLength), 128 - m_subnetLength);
}

UInt128 IPv6SubnetPlan::GetAddressSubnetIndex() const
{
    return ShiftRight(m_address & HostMask(m_prefixLength), 128 - m_subnetLength);
}

void IPv6SubnetPlan::GetSubnet(UInt128 index, IPv6Address& first, IPv6Address& last) const
{
    const UInt128 offset = ShiftLeft(index, 128 - m_subnetLength);
    const UInt128 start = (m_address & ~HostMask(m_prefixLength)) | offset;
    first = FromUInt128(start);
    last = FromUInt128(start | HostMask(m_subnetLength));
}

int IPv6SubnetPlan::GetRowCount() const
{
    if (!m_valid)
        return 0;
    return static_cast<int>(std::min<UInt128>(LastSubnetIndex(), MaxRows - 1) + 1);
}

UInt128 IPv6SubnetPlan::GetFirstRowIndex() const
{
    const UInt128 lastFirst = LastSubnetIndex() - static_cast<UInt128>(GetRowCount() - 1);
    const UInt128 index = GetAddressSubnetIndex();
    const UInt128 half = MaxRows / 2;
    return std::min(index < half ? 0 : index - half, lastFirst);
}

std::string IPv6SubnetPlan::PrefixText(const IPv6Address& address, int length)
{
    return address.ToString(IPv6Address::CompressedNotation) + '/' + std::to_string(length);
}

std::string IPv6SubnetPlan::PowerOfTwoText(int nExponent)
{
    if (nExponent < 0 || nExponent > 128)
        throw std::out_of_range("nExponent");
    // 2^128 does not fit, 2^n - 1 does; and 2^n - 1 never ends in 9, so the
    // last digit takes the one without a carry.
    const UInt128 below = HostMask(128 - nExponent);
    std::string digits = Digits(below);
    ++digits.back();
    return "2^" + std::to_string(nExponent) + " = " + GroupDigits(digits);
}

std::string IPv6SubnetPlan::GroupDigits(const std::string& digits)
{
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string IPv6SubnetPlan::DecimalText(UInt128 value)
{
    return Digits(value);
}

UInt128 IPv6SubnetPlan::ToUInt128(const IPv6Address& address)
{
    const Q_IPV6ADDR& bytes = address.GetBytes();
    UInt128 value = 0;
    for (const quint8 byte : bytes.c)
        value = (value << 8) | byte;
    return value;
}

IPv6Address IPv6SubnetPlan::FromUInt128(UInt128 value)
{
    return IPv6Address(static_cast<quint64>(value >> 64), static_cast<quint64>(value));
}

IPv6Address IPv6SubnetPlan::RandomUniqueLocalPrefix(const std::function<quint64()>& random)
{
    constexpr quint64 kLocalPrefix = 0xfd00'0000'0000'0000ULL; // FC00::/7 with the L bit set
    constexpr quint64 kGlobalIdBits = 0xff'ffff'ffffULL;
    constexpr int kSubnetIdBits = 16;
    return IPv6Address(kLocalPrefix | (random() & kGlobalIdBits) << kSubnetIdBits, 0);
}

quint64 IPv6SubnetPlan::SystemRandom()
{
    return QRandomGenerator::system()->generate64();
}
