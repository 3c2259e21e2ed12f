// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

class IPv4Address;

// Address text that may carry a prefix: "a.b.c.d/n", "a.b.c.d m.m.m.m" with a
// netmask or its wildcard, or an IPv6 "address/n"; split into its two parts.
class AddressPrefix
{
public:
    enum class Form
    {
        NoPrefix, // no "/" and no inner blank: the text is the address
        Prefix,   // a well-formed prefix of a valid length
        Bad       // a prefix that is cut short, out of range or not a mask
    };

    // Splits text at its first "/" or, for IPv4, its first inner blank run.
    // The address part itself is not checked.
    [[nodiscard]] static AddressPrefix SplitIPv4(const std::string& text);
    [[nodiscard]] static AddressPrefix SplitIPv6(const std::string& text);

    // The prefix length of a contiguous netmask, else of a wildcard (inverse)
    // mask, else -1. 0.0.0.0 and 255.255.255.255 read as netmasks (/0, /32),
    // the way routes are written.
    [[nodiscard]] static int MaskLength(const IPv4Address& mask);

    // The trimmed text before the prefix, or the whole trimmed text.
    std::string addressText;
    // The prefix length; -1 unless the form is Prefix.
    int prefixLength = -1;
    Form form = Form::NoPrefix;
};
