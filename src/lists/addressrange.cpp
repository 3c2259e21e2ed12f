// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "lists/addressrange.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>

namespace {
constexpr std::array<int, 2> kBits = {32, 128};
// 2^128, the count of the whole IPv6 space, which UInt128 cannot hold.
constexpr const char* kTwoTo128 = "340282366920938463463374607431768211456";

UInt128 HostMask(int hostBits)
{
    return hostBits >= 128 ? ~static_cast<UInt128>(0) : (static_cast<UInt128>(1) << hostBits) - 1;
}

int PopCount(UInt128 value)
{
    return std::popcount(static_cast<quint64>(value)) + std::popcount(static_cast<quint64>(value >> 64));
}

// The sum of two decimal digit strings.
std::string AddDecimal(const std::string& a, const std::string& b)
{
    std::string sum;
    int carry = 0;
    for (size_t i = 0; i < a.size() || i < b.size() || carry != 0; ++i) {
        const int digit =
            carry + (i < a.size() ? a[a.size() - 1 - i] - '0' : 0) + (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        sum.insert(sum.begin(), static_cast<char>('0' + digit % 10));
        carry = digit / 10;
    }
    return sum;
}
} // namespace

int AddressRange::Bits(AddressFamily family)
{
    return kBits[static_cast<size_t>(family)];
}

AddressRange AddressRange::FromPrefix(AddressFamily family, UInt128 first, int length)
{
    const UInt128 host = HostMask(Bits(family) - length);
    const UInt128 start = first & ~host & HostMask(Bits(family));
    return {family, start, start | host};
}

int AddressRange::PrefixLength() const
{
    const UInt128 host = last - first;
    if ((host & (host + 1)) != 0 || (first & host) != 0)
        return -1;
    return Bits(family) - PopCount(host);
}

bool AddressRange::Overlaps(const AddressRange& other) const
{
    return family == other.family && first <= other.last && other.first <= last;
}

namespace {
constexpr UInt128 kMappedPrefix = 0xFFFF'0000'0000; // ::FFFF:0:0/96 (RFC 4291 2.5.5.2)

// RFC 5952: the longest run of two or more zero groups, the first of equal runs, shortened to "::"; hex
// upper case, as the program writes IPv6; the dotted tail only for an IPv4-mapped address.
std::string IPv6Text(UInt128 value)
{
    if (value >> 32 == kMappedPrefix >> 32)
        return "::FFFF:" + AddressRange::AddressText(AddressFamily::IPv4, value & 0xFFFF'FFFF);
    std::array<unsigned, 8> groups{};
    for (size_t n = 0; n < groups.size(); ++n)
        groups[n] = static_cast<unsigned>(value >> (112 - 16 * n)) & 0xFFFF;
    size_t runStart = groups.size();
    size_t runLength = 1;
    for (size_t n = 0; n < groups.size();) {
        size_t end = n;
        while (end < groups.size() && groups[end] == 0)
            ++end;
        if (end - n > runLength)
            runStart = n, runLength = end - n;
        n = std::max(end, n + 1);
    }
    std::string text;
    char group[8];
    for (size_t n = 0; n < groups.size(); ++n) {
        if (n == runStart) {
            text += "::";
            n += runLength - 1;
            continue;
        }
        if (!text.empty() && text.back() != ':')
            text += ':';
        std::snprintf(group, sizeof group, "%X", groups[n]);
        text += group;
    }
    return text;
}
} // namespace

std::string AddressRange::AddressText(AddressFamily family, UInt128 value)
{
    if (family == AddressFamily::IPv6)
        return IPv6Text(value);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        text += std::to_string(static_cast<unsigned>(value >> shift) & 0xFF);
        if (shift > 0)
            text += '.';
    }
    return text;
}

std::string AddressRange::Text() const
{
    const int length = PrefixLength();
    return length < 0 ? RangeText() : AddressText(family, first) + '/' + std::to_string(length);
}

std::string AddressRange::RangeText() const
{
    return AddressText(family, first) + " - " + AddressText(family, last);
}

std::string AddressRange::CountText() const
{
    AddressCount count;
    count.Add(*this);
    return count.Text();
}

void AddressCount::Add(const AddressRange& range)
{
    const UInt128 size = range.last - range.first + 1; // 0 stands for 2^128
    const UInt128 before = m_low;
    m_low += size;
    if (m_low < before || size == 0)
        m_carry = true;
}

std::string AddressCount::Text() const
{
    const std::string low = IPv6SubnetPlan::DecimalText(m_low);
    return m_carry ? AddDecimal(low, kTwoTo128) : low;
}
