// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ipv6/ipv6subnetplan.h"

#include <string>
#include <tuple>

enum class AddressFamily : quint8
{
    IPv4,
    IPv6
};

// A run of addresses of one family from first to last (first <= last); an
// IPv4 address is held in the low 32 bits. Ranges order by family (IPv4
// first), then by first, then by last.
struct AddressRange
{
    AddressFamily family = AddressFamily::IPv4;
    UInt128 first = 0;
    UInt128 last = 0;

    friend bool operator==(const AddressRange&, const AddressRange&) = default;
    friend bool operator<(const AddressRange& a, const AddressRange& b)
    {
        return std::tie(a.family, a.first, a.last) < std::tie(b.family, b.first, b.last);
    }

    // 32 or 128.
    [[nodiscard]] static int Bits(AddressFamily family);
    // The prefix first/length of the family; length 0..Bits(family), first's host bits ignored.
    [[nodiscard]] static AddressRange FromPrefix(AddressFamily family, UInt128 first, int length);
    // The prefix length when the range is exactly one prefix, else -1.
    [[nodiscard]] int PrefixLength() const;
    // Whether the two ranges share an address (same family and overlapping).
    [[nodiscard]] bool Overlaps(const AddressRange& other) const;

    // "10.0.0.5" or "2001:DB8::1" (the program's compressed notation).
    [[nodiscard]] static std::string AddressText(AddressFamily family, UInt128 value);
    // "10.0.0.0/8" when the range is one prefix, else "10.0.0.5 - 10.0.0.100".
    [[nodiscard]] std::string Text() const;
    // "10.0.0.5 - 10.0.0.100", also for a prefix.
    [[nodiscard]] std::string RangeText() const;
    // The number of addresses in decimal, exact (2^128 for the whole IPv6 space).
    [[nodiscard]] std::string CountText() const;
};

// An exact sum of address counts, up to 2^128: the whole IPv6 space fits.
class AddressCount
{
public:
    void Add(const AddressRange& range);
    // "340282366920938463463374607431768211456"-style decimal digits.
    [[nodiscard]] std::string Text() const;
    [[nodiscard]] bool IsZero() const { return m_low == 0 && !m_carry; }

private:
    UInt128 m_low = 0;
    bool m_carry = false;
};
