// SPDX-FileCopyrightText: 2026 Quorvane
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class IPv4Address;

// The texts of IPv4 addresses that the tables and pages show alike, always
// in dotted decimal, the form an address takes inside other text.
namespace AddressText {
// The address in dotted decimal; empty for an invalid address.
[[nodiscard]] QString DottedDecimal(const IPv4Address& address);
// "first - last", or the one address when both are equal.
[[nodiscard]] QString RangeText(const IPv4Address& first, const IPv4Address& last);
// "mask   (/bits)" for a mask combo box entry.
[[nodiscard]] QString MaskText(const IPv4Address& mask, int maskBits);
// The wildcard (inverse) mask of mask, as access lists take it; empty for an invalid mask.
[[nodiscard]] QString WildcardText(const IPv4Address& mask);
} // namespace AddressText
