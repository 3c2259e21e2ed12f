// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#include "address/addressprefix.h"

#include "address/ipv4address.h"

#include <algorithm>
#include <bit>

namespace {
constexpr const char* blanks = " \t\n\v\f\r";

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

// Decimal digits only, at most maxLength; -1 otherwise.
int PrefixLength(const std::string& text, int maxLength)
{
    if (text.empty() || text.size() > 3
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    const int length = std::stoi(text);
    return length <= maxLength ? length : -1;
}

AddressPrefix Split(const std::string& text, bool ipv4)
{
    AddressPrefix split;
    const std::string trimmed = Trimmed(text);
    std::size_t separator = trimmed.find('/');
    if (separator == std::string::npos && ipv4)
        separator = trimmed.find_first_of(blanks);
    if (separator == std::string::npos) {
        split.addressText = trimmed;
        return split;
    }
    split.addressText = Trimmed(trimmed.substr(0, separator));
    const std::string prefixText = Trimmed(trimmed.substr(separator + 1));
    if (trimmed[separator] == '/') {
        split.prefixLength = PrefixLength(prefixText, ipv4 ? 32 : 128);
    } else if (std::count(prefixText.begin(), prefixText.end(), '.') == 3) {
        split.prefixLength = AddressPrefix::MaskLength(IPv4Address(prefixText, IPv4Address::DottedDecimal));
    }
    split.form = split.prefixLength < 0 ? AddressPrefix::Form::Bad : AddressPrefix::Form::Prefix;
    return split;
}

// The number of leading one bits when only zeros follow them; -1 otherwise.
int NetmaskLength(quint32 mask)
{
    const quint32 hostBits = ~mask;
    return (hostBits & (hostBits + 1)) == 0 ? std::countl_one(mask) : -1;
}
} // namespace

AddressPrefix AddressPrefix::SplitIPv4(const std::string& text)
{
    return Split(text, true);
}

AddressPrefix AddressPrefix::SplitIPv6(const std::string& text)
{
    return Split(text, false);
}

int AddressPrefix::MaskLength(const IPv4Address& mask)
{
    if (!mask.IsValid())
        return -1;
    const int length = NetmaskLength(mask.GetValue());
    if (length >= 0)
        return length;
    return NetmaskLength(~mask.GetValue());
}
